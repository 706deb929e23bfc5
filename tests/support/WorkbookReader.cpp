#include "support/WorkbookReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

WorkbookSheet ReadWorkbook(const QString& path, int maxRow) {
    QStringList args = {QStringLiteral(MERVEX_SOURCE_DIR "/tests/core/data/read_xlsx.py"), path};
    if (maxRow > 0) {
        args << QString::number(maxRow);
    }
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), args);
    WorkbookSheet sheet;
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        ADD_FAILURE() << "openpyxl could not read " << path.toStdString() << ": "
                      << python.readAllStandardError().toStdString();
        return sheet;
    }
    const QJsonObject json = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    sheet.read = true;
    sheet.rows = json["rows"].toInt();
    sheet.cols = json["cols"].toInt();
    sheet.freeze = json["freeze"].toString();
    const QJsonObject widths = json["widths"].toObject();
    for (auto it = widths.begin(); it != widths.end(); ++it) {
        sheet.widths[it.key().toInt()] = it.value().toDouble();
    }
    for (const QJsonValue& v : json["cells"].toArray()) {
        const QJsonObject c = v.toObject();
        sheet.cells[{c["row"].toInt(), c["col"].toInt()}] = {
            c["kind"].toString(), c["value"].toVariant(), c["format"].toString(),
            c["bold"].toBool(), c["fill"].toString()};
    }
    return sheet;
}

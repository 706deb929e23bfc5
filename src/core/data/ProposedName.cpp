#include "data/ProposedName.h"

#include "data/MValSet.h"

#include <QFileInfo>
#include <QStringList>

QString FileNameSafe(QString name) {
    static const QString kForbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name) {
        if (kForbidden.contains(c) || c.category() == QChar::Other_Control) {
            c = QLatin1Char('-');
        }
    }
    return name.trimmed();
}

QString ProposedDatasetName(const MValSet& mvals, const QString& filePath) {
    if (!filePath.isEmpty()) {
        return QFileInfo(filePath).completeBaseName();
    }
    if (mvals.strMVals.isEmpty()) {
        return FileNameSafe(mvals.strMeter);
    }
    QStringList parts;
    for (const QString& part : {mvals.strMeter.trimmed(), mvals.strSerNo.trimmed()}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    parts << mvals.curDate.date().toString(Qt::ISODate);
    return FileNameSafe(parts.join(QLatin1Char(' ')));
}

#include "support/PdfText.h"

#include <QProcess>

QList<QStringList> PdfPages(const QString& path) {
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                               QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
        return {};
    }
    QList<QStringList> pages;
    QStringList pageTexts = QString::fromUtf8(reader.readAllStandardOutput()).split(QChar(u'\f'));
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty()) {
        pageTexts.removeLast(); // the form feed after the last page
    }
    for (const QString& page : pageTexts) {
        QStringList lines;
        for (const QString& line : page.split(QLatin1Char('\n'))) {
            lines << line.simplified();
        }
        while (!lines.isEmpty() && lines.last().isEmpty()) {
            lines.removeLast();
        }
        pages << lines;
    }
    return pages;
}

QStringList PdfLines(const QString& path) {
    QStringList lines;
    for (const QStringList& page : PdfPages(path)) {
        lines += page;
    }
    return lines;
}

QString PdfPageSize(const QString& path) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(30000);
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    const qsizetype at = text.indexOf(QStringLiteral("Page size:"));
    return at < 0 ? QString() : text.mid(at, text.indexOf(QLatin1Char('\n'), at) - at).simplified();
}

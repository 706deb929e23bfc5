#include "support/PdfText.h"

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

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

QList<QList<PdfWord>> PdfWords(const QString& path) {
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                               QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
        return {};
    }
    const QString html = QString::fromUtf8(reader.readAllStandardOutput());
    static const QRegularExpression item(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                       "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<QList<PdfWord>> pages;
    for (const QRegularExpressionMatch& m : item.globalMatch(html)) {
        if (m.captured(0) == QLatin1String("<page ")) {
            pages.append(QList<PdfWord>());
            continue;
        }
        QString text = m.captured(5);
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        if (!pages.isEmpty()) {
            pages.last().append({text, m.captured(1).toDouble(), m.captured(2).toDouble(),
                                 m.captured(3).toDouble(), m.captured(4).toDouble()});
        }
    }
    return pages;
}

QList<QList<PdfWord>> PdfWordLines(const QList<PdfWord>& page) {
    QMap<long, QList<PdfWord>> lines;
    for (const PdfWord& word : page) {
        lines[std::lround(word.yMin * 10)].append(word);
    }
    QList<QList<PdfWord>> sorted;
    for (QList<PdfWord>& line : lines) {
        std::sort(line.begin(), line.end(),
                  [](const PdfWord& a, const PdfWord& b) { return a.xMin < b.xMin; });
        sorted << line;
    }
    return sorted;
}

QString PdfTitle(const QString& path) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QLatin1String("Title:"))) {
            return line.mid(6).trimmed();
        }
    }
    return QString();
}

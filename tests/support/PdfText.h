#pragma once

#include <QString>
#include <QStringList>

// The text of a PDF file as an independent reader (pdftotext of poppler) extracts it, in
// layout order: one entry per page, each page's lines with their blanks simplified.
QList<QStringList> PdfPages(const QString& path);

// The lines of every page, one after the other.
QStringList PdfLines(const QString& path);

// The page size line of pdfinfo of poppler, e.g. "Page size: 842 x 595 pts (A4)".
QString PdfPageSize(const QString& path);

// A word of a PDF page with its box in points from the page's top left corner, as
// pdftotext -bbox of poppler reads it.
struct PdfWord {
    QString text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
};

// The words of every page, in reading order; one entry per page.
QList<QList<PdfWord>> PdfWords(const QString& path);

// The words of a page grouped into lines (the same top, to a tenth of a point), top down.
QList<QList<PdfWord>> PdfWordLines(const QList<PdfWord>& page);

// The Title of the document's info, as pdfinfo reads it.
QString PdfTitle(const QString& path);

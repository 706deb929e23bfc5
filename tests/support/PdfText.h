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

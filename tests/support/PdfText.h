#pragma once

#include <QString>
#include <QStringList>

// The text of a PDF file as an independent reader (pdftotext of poppler) extracts it, in
// layout order: one entry per page, each page's lines with their blanks simplified.
QList<QStringList> PdfPages(const QString& path);

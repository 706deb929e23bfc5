#pragma once

#include "data/PagePainter.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What a table report shows, independent of the page it goes on.
struct ReportField {
    QString label; // with its colon, from the string table
    QString value;
    bool ownLine = false; // alone on its header line, as wide as the page: never cut
};

struct ReportColumn {
    QString title;
    bool alignRight = false; // values (numbers) end at one x; texts start at one x
};

struct ReportContent {
    QString documentTitle;      // the document's own title (a PDF's Title)
    QList<ReportField> header;  // on top of every page, three to a line
    QString heading;            // bold, once, under the header of the first page
    QList<ReportField> details; // one per line under the heading (a protocol's data)
    QList<ReportColumn> columns;
    QList<QStringList> rows; // one field per column
    // Cells printed in bold: those of `markedColumn` in the rows marked true (none when
    // empty); a closing line says why.
    int markedColumn = -1;
    QList<bool> markedRows;
    // On the first page, as wide as the page, above the table (a chart); empty: none.
    PageFigure figure;
    QStringList closing;   // lines after the last row, before the signature block (a summary)
    QString picturePath;   // a small picture on top of the first page; empty: none
    bool signature = true; // the signature block after the last row
    // Lines of the signature block above its blanks: who verified the records printed
    // ("Vérifié par …"), or which of them nobody verified yet.
    QStringList verified;
    QDateTime printedAt;
};

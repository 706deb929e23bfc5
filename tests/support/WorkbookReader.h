#pragma once

#include <QMap>
#include <QString>
#include <QVariant>
#include <utility>

// A workbook's first sheet as openpyxl (Debian's python3-openpyxl, under the system
// interpreter) reads it: a reader that shares no code with our writer.
struct WorkbookCell {
    QString kind; // "number", "text", "date", "time"
    QVariant value;
    QString format; // the number format
    bool bold = false;
    QString fill; // a solid fill's colour as ARGB hexadecimal ("FFFFC8C8"), empty for none
};

struct WorkbookSheet {
    bool read = false;
    int rows = 0;
    int cols = 0;
    QString freeze;                                // top-left cell of the scrolling part, e.g. "A9"
    QMap<int, double> widths;                      // column (from 1) -> width
    QMap<std::pair<int, int>, WorkbookCell> cells; // (row, col), both from 1
};

// Cells of rows 1 to maxRow (all rows when 0) and of the last row.
WorkbookSheet ReadWorkbook(const QString& path, int maxRow = 0);

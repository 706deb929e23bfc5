#pragma once

#include <QList>

class QTableView;

// How the tables of records (the document's, the Archive window's) open their columns.

// The record layout's widths, in twips.
void ApplyLayoutWidths(QTableView& view, const QList<int>& widthsTwips);

// The layout's widths were made for a narrower font than this platform's: a column grows to
// what its title and the texts of a sample of its rows need (`ColumnFittingRows`), never
// below the layout and never past kMaxFittedChars average characters, so that one long
// sample ID cannot push every other column out of sight; a longer text is shown shortened
// until the user widens its column.
void WidenClippedColumns(QTableView& view);

inline constexpr int kMaxFittedChars = 40;

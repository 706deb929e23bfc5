#include "ui/data/ColumnWidths.h"

#include "app/Twips.h"
#include "data/ColumnFitting.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

void ApplyLayoutWidths(QTableView& view, const QList<int>& widthsTwips) {
    for (int c = 0; c < widthsTwips.size(); ++c) {
        view.setColumnWidth(c, TwipsToPixels(widthsTwips[c], view.logicalDpiX()));
    }
}

// The sample is read row by row, as the model splits a record once for all its fields; only
// each column's widest text goes through the view's own measure (its margins and grid line
// are the same for every cell).
void WidenClippedColumns(QTableView& view) {
    const QAbstractItemModel& shown = *view.model();
    const int columns = shown.columnCount();
    const QFontMetrics metrics(view.font());
    QList<int> widestRow(columns, -1);
    QList<int> widestText(columns, -1);
    for (const int row : ColumnFittingRows(shown.rowCount())) {
        for (int c = 0; c < columns; ++c) {
            const int width = metrics.horizontalAdvance(shown.index(row, c).data().toString());
            if (width > widestText[c]) {
                widestText[c] = width;
                widestRow[c] = row;
            }
        }
    }
    const QHeaderView* header = view.horizontalHeader();
    const int gridLine = view.showGrid() ? 1 : 0;
    const int widest = kMaxFittedChars * metrics.averageCharWidth();
    for (int c = 0; c < columns; ++c) {
        int needed = header->sectionSizeHint(c);
        if (widestRow[c] >= 0) {
            needed = std::max(needed, view.sizeHintForIndex(shown.index(widestRow[c], c)).width() +
                                          gridLine);
        }
        view.setColumnWidth(c, std::max(view.columnWidth(c), std::min(needed, widest)));
    }
}

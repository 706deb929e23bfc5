#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringView>
#include <functional>
#include <span>

// What a copy of table cells puts on the clipboard: the same cells as tab-separated text
// (titles on the first line) and as an HTML table, which spreadsheets paste as columns.
struct TableCopyText {
    QString tsv;
    QString html;
};

struct CopyColumn {
    QString title;
    bool number = false; // a value column: "." of a number becomes the desktop's separator
};

// The cell of a copied row and column (0-based among the copied ones); an empty view for a
// cell that is not selected. The view must stay valid until the next call.
using CopyCell = std::function<QStringView(qsizetype row, qsizetype column)>;

// `decimalPoint` "." copies every field exactly as the meter sent it. Numbers of value
// columns with another separator paste as numbers into a spreadsheet of that locale; any
// other text ("<0.01", "1:5", "05.01.24") is copied as it stands.
TableCopyText MakeTableCopy(const QList<CopyColumn>& columns, qsizetype rows, const CopyCell& cell,
                            QChar decimalPoint);

// The selected cells of record lines: bit c of `selectedColumns[i]` selects column c of
// `lines[i]`. Copied are the rows with a selected cell and the columns with one, in order;
// a cell that is not selected inside them stays empty. `columns` describes every column.
TableCopyText CopyRecordCells(std::span<const QStringView> lines,
                              std::span<const quint32> selectedColumns,
                              const QList<CopyColumn>& columns, QChar decimalPoint);

#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QStringView>

// The records of a dataset as the document's grid shows them: every field as the text
// the meter sent, read-only. The column titles form the grid's header (the flex grid's
// fixed row 0), so row 0 of the model is the first record. Rows are kept as views of
// their record lines and split only when shown, so a dataset of a million records costs
// little more than its text.
class MValTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // An empty table of the given size: untitled columns, empty rows.
    void Reset(int columns, int rows);
    // Empties every cell and title; the table keeps its size.
    void Clear();
    // Column count, titles and widths (twips) in one go; the rows become one empty row,
    // so a dataset without records still shows a line under the titles.
    void SetColumns(const QStringList& titles, const QList<int>& widthsTwips);
    // The rows: record lines (";"-separated fields) that are views into `text`. No line
    // keeps one empty row. Fields beyond the column count are not shown.
    void SetRecords(const QString& text, QList<QStringView> lines);
    // Rows (in the meter's order) drawn as rejected by quality control, each with why; a new
    // set of records clears them.
    void SetMarks(const QHash<int, QString>& marks);
    bool IsMarked(int row) const { return m_marks.contains(row); }

    QString Cell(int row, int column) const;
    QStringList Titles() const { return m_titles; }
    // The record lines in the meter's order; none while the table shows its empty row.
    QList<QStringView> Lines() const { return m_records ? m_lines : QList<QStringView>(); }
    QList<int> WidthsTwips() const { return m_widths; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QStringList m_titles;
    QList<int> m_widths;
    QString m_text; // keeps the data the lines point into alive; never modified
    QList<QStringView> m_lines;
    bool m_records = false; // the lines are records, not the empty row of an empty table
    QHash<int, QString> m_marks;
    // The last row split, as a view asks for its cells one after the other.
    mutable qsizetype m_splitRow = -1;
    mutable QStringList m_splitFields;
};

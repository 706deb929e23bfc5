#pragma once

#include "data/ColumnSortKeys.h"
#include "data/RecordColumns.h"
#include "data/RecordFilter.h"
#include "data/RecordSelection.h"
#include "qc/LimitFlags.h"

#include <QAbstractProxyModel>
#include <QHash>
#include <optional>
#include <vector>

class MValTableModel;

// The records as the table shows them: sorted by a column and filtered, as a permutation
// of the model's rows. The dataset and the model keep the meter's order, so saving,
// exporting and printing never see the view's order. Selections and the current cell
// follow their records through every sort and filter.
class MValTableProxy : public QAbstractProxyModel {
    Q_OBJECT
public:
    explicit MValTableProxy(MValTableModel& source, QObject* parent = nullptr);

    // The layout of the records shown next (numeric columns, program and state columns).
    void SetColumns(const RecordLayout& columns);
    const RecordLayout& Columns() const { return m_columns; }
    void SetFilter(const RecordFilter& filter);
    // The limit values the first value is judged by: a value beyond them is coloured
    // (BeyondLimitBackground) and the filter's "hors limite" follows them.
    void SetLimits(const LimitFlags& limits);
    const LimitFlags& Limits() const { return m_limits; }
    static QColor BeyondLimitBackground();
    // The records set aside as invalid, by model row, each with the text of its tip: they
    // show greyed and struck through. A new dataset clears them.
    void SetInvalid(QHash<int, QString> tips);
    bool IsInvalid(int sourceRow) const { return m_invalid.contains(sourceRow); }
    static QColor InvalidForeground();
    const RecordFilter& Filter() const { return m_filter; }
    // Column -1 gives the meter's order back.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int SortColumn() const { return m_sortColumn; }

    int RecordCount() const; // every record of the dataset
    int ShownCount() const;  // the records the filter lets through
    // The shown records' lines in the view's order.
    QList<QStringView> ShownLines() const;
    // What the records count for (statistics, graph, printouts, exports) leaves out those
    // set aside as invalid, shown or not: this is the one place that decides it.
    // The shown records that count, in the view's order.
    QList<QStringView> CountedLines() const;
    // The shown records that count as what a printout or an export takes: Whole() while the
    // table shows every record in the meter's order.
    RecordSelection Shown() const;
    // Every record that counts, in the meter's order: the whole dataset unless some do not.
    RecordSelection Whole() const;
    // The model row of a view row, -1 outside.
    int SourceRow(int row) const;

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    // The shown records changed: another filter, sort or dataset.
    void ShownChanged();

private:
    std::vector<int> ComputeRows();
    void ApplyRows(std::vector<int> rows);
    void SourceReset();
    QVariant InvalidData(int sourceRow, int role) const;

    MValTableModel& m_source;
    RecordLayout m_columns;
    RecordFilter m_filter;
    LimitFlags m_limits;
    QHash<int, QString> m_invalid; // model row -> tip
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    // The keys of the sorted column, kept while that column stays the sorted one.
    std::optional<ColumnSortKeys> m_keys;
    int m_keysColumn = -1;
    std::vector<int> m_rows;    // view row -> model row
    std::vector<int> m_inverse; // model row -> view row, -1 when filtered out
};

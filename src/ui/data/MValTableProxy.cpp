#include "ui/data/MValTableProxy.h"

#include "ui/data/MValTableModel.h"

#include <QCollator>
#include <QColor>
#include <QFont>
#include <algorithm>
#include <iterator>
#include <numeric>

MValTableProxy::MValTableProxy(MValTableModel& source, QObject* parent)
    : QAbstractProxyModel(parent), m_source(source) {
    QAbstractProxyModel::setSourceModel(&source);
    connect(&source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&source, &QAbstractItemModel::modelReset, this, &MValTableProxy::SourceReset);
    connect(&source, &QAbstractItemModel::headerDataChanged, this,
            &QAbstractItemModel::headerDataChanged);
    connect(&source, &QAbstractItemModel::dataChanged, this,
            [this] { emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1)); });
    m_rows = ComputeRows();
}

void MValTableProxy::SourceReset() {
    m_invalid.clear();
    m_keys.reset();
    m_keysColumn = -1;
    m_rows = ComputeRows();
    m_inverse.clear();
    endResetModel();
    emit ShownChanged();
}

void MValTableProxy::SetColumns(const RecordLayout& columns) {
    m_columns = columns;
    m_keys.reset();
    m_keysColumn = -1;
}

void MValTableProxy::SetFilter(const RecordFilter& filter) {
    if (filter == m_filter) {
        return;
    }
    m_filter = filter;
    ApplyRows(ComputeRows());
}

void MValTableProxy::SetLimits(const LimitFlags& limits) {
    m_limits = limits;
    if (m_filter.state == RecordFilter::State::BeyondLimit) {
        ApplyRows(ComputeRows());
    }
    if (rowCount() > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
    }
}

// A pale red under black text: readable in either palette's selection and printable.
QColor MValTableProxy::BeyondLimitBackground() {
    return QColor(0xff, 0xc8, 0xc8);
}

// A record set aside (or taken back) also changes what the records count for.
void MValTableProxy::SetInvalid(QHash<int, QString> tips) {
    m_invalid = std::move(tips);
    if (rowCount() > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::ForegroundRole, Qt::FontRole, Qt::ToolTipRole});
    }
    emit ShownChanged();
}

// The palette's grey of disabled text would follow a dark theme into the selection's colour;
// a fixed middle grey stays readable on white, on the selection and on the limits' red.
QColor MValTableProxy::InvalidForeground() {
    return QColor(0x80, 0x80, 0x80);
}

// Greyed before anything else colours the row: a value beyond its limits that was set aside
// counts for nothing, its red background stays to tell why it may have been.
QVariant MValTableProxy::InvalidData(int sourceRow, int role) const {
    const auto invalid = m_invalid.constFind(sourceRow);
    if (invalid == m_invalid.cend()) {
        return {};
    }
    switch (role) {
    case Qt::ForegroundRole:
        return InvalidForeground();
    case Qt::FontRole: {
        QFont struck;
        struck.setStrikeOut(true);
        return struck;
    }
    case Qt::ToolTipRole:
        return *invalid;
    default:
        return {};
    }
}

void MValTableProxy::sort(int column, Qt::SortOrder order) {
    m_sortColumn = column >= 0 && column < columnCount() ? column : -1;
    m_sortOrder = order;
    ApplyRows(ComputeRows());
}

std::vector<int> MValTableProxy::ComputeRows() {
    const QList<QStringView> lines = m_source.Lines();
    std::vector<int> order(lines.isEmpty() ? size_t(m_source.rowCount()) : size_t(lines.size()));
    if (lines.isEmpty()) {
        std::iota(order.begin(), order.end(), 0);
        return order; // the empty table's rows stay as they are
    }
    if (m_sortColumn >= 0) {
        if (!m_keys || m_keysColumn != m_sortColumn) {
            m_keys.reset(); // the old keys go before the new ones take their memory
            m_keys.emplace(lines, m_sortColumn, m_columns.IsNumeric(m_sortColumn), QCollator(),
                           m_columns.TimeOf(m_sortColumn));
            m_keysColumn = m_sortColumn;
        }
        order = m_keys->Order(m_sortOrder == Qt::AscendingOrder);
    } else {
        std::iota(order.begin(), order.end(), 0);
    }
    if (m_filter.IsEmpty()) {
        return order;
    }
    std::vector<char> kept(order.size(), 0);
    for (const int row : FilteredRows(lines, m_filter, m_columns, &m_limits)) {
        kept[size_t(row)] = 1;
    }
    std::erase_if(order, [&](int row) { return kept[size_t(row)] == 0; });
    return order;
}

void MValTableProxy::ApplyRows(std::vector<int> rows) {
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QList<std::pair<int, int>> sourceCells;
    sourceCells.reserve(before.size());
    for (const QModelIndex& i : before) {
        sourceCells.append({SourceRow(i.row()), i.column()});
    }
    m_rows = std::move(rows);
    m_inverse.clear();
    QModelIndexList after;
    after.reserve(before.size());
    for (const auto& [row, column] : sourceCells) {
        after.append(mapFromSource(m_source.index(row, column)));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
    emit ShownChanged();
}

int MValTableProxy::RecordCount() const {
    return static_cast<int>(m_source.Lines().size());
}

int MValTableProxy::ShownCount() const {
    return RecordCount() == 0 ? 0 : static_cast<int>(m_rows.size());
}

QList<QStringView> MValTableProxy::ShownLines() const {
    const QList<QStringView> lines = m_source.Lines();
    QList<QStringView> shown;
    if (lines.isEmpty()) {
        return shown;
    }
    shown.reserve(qsizetype(m_rows.size()));
    for (const int row : m_rows) {
        shown.append(lines[row]);
    }
    return shown;
}

QList<QStringView> MValTableProxy::CountedLines() const {
    const QList<QStringView> lines = m_source.Lines();
    QList<QStringView> counted;
    if (lines.isEmpty()) {
        return counted;
    }
    counted.reserve(qsizetype(m_rows.size()));
    for (const int row : m_rows) {
        if (!IsInvalid(row)) {
            counted.append(lines[row]);
        }
    }
    return counted;
}

RecordSelection MValTableProxy::Shown() const {
    if (m_filter.IsEmpty() && m_sortColumn < 0) {
        return Whole();
    }
    std::vector<int> rows;
    if (RecordCount() > 0) {
        rows.reserve(m_rows.size());
        std::ranges::copy_if(m_rows, std::back_inserter(rows),
                             [&](int row) { return !IsInvalid(row); });
    }
    return {std::move(rows), RecordCount()};
}

RecordSelection MValTableProxy::Whole() const {
    if (m_invalid.isEmpty()) {
        return {};
    }
    std::vector<int> rows;
    for (int row = 0; row < RecordCount(); ++row) {
        if (!IsInvalid(row)) {
            rows.push_back(row);
        }
    }
    return {std::move(rows), RecordCount()};
}

int MValTableProxy::SourceRow(int row) const {
    return row >= 0 && size_t(row) < m_rows.size() ? m_rows[size_t(row)] : -1;
}

QModelIndex MValTableProxy::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid()) {
        return QModelIndex();
    }
    return m_source.index(SourceRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex MValTableProxy::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid()) {
        return QModelIndex();
    }
    // The inverse is made on the first use after a change: sorting and filtering a million
    // rows need not pay for it.
    if (m_inverse.empty() && !m_rows.empty()) {
        auto& inverse = const_cast<std::vector<int>&>(m_inverse);
        inverse.assign(size_t(m_source.rowCount()), -1);
        for (size_t i = 0; i < m_rows.size(); ++i) {
            inverse[size_t(m_rows[i])] = int(i);
        }
    }
    const int row = sourceIndex.row();
    const int shown = size_t(row) < m_inverse.size() ? m_inverse[size_t(row)] : -1;
    return shown < 0 ? QModelIndex() : index(shown, sourceIndex.column());
}

QModelIndex MValTableProxy::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return QModelIndex();
    }
    return createIndex(row, column);
}

QModelIndex MValTableProxy::parent(const QModelIndex&) const {
    return QModelIndex();
}

int MValTableProxy::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MValTableProxy::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_source.columnCount();
}

QVariant MValTableProxy::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.isValid()) {
        return m_columns.IsNumeric(index.column())
                   ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                   : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (!m_invalid.isEmpty() && index.isValid()) {
        if (QVariant invalid = InvalidData(SourceRow(index.row()), role); invalid.isValid()) {
            return invalid;
        }
    }
    if ((role == Qt::BackgroundRole || role == Qt::ForegroundRole) && index.isValid() &&
        index.column() == m_columns.Value1() && !m_limits.IsEmpty()) {
        const QList<QStringView> lines = m_source.Lines();
        const int row = SourceRow(index.row());
        if (row >= 0 && row < lines.size() && m_limits.Beyond(lines[row], m_columns)) {
            return role == Qt::BackgroundRole ? QVariant(BeyondLimitBackground())
                                              : QVariant(QColor(Qt::black));
        }
    }
    return QAbstractProxyModel::data(index, role);
}

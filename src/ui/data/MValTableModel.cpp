#include "ui/data/MValTableModel.h"

void MValTableModel::Reset(int columns, int rows) {
    beginResetModel();
    m_titles = QStringList(qMax(columns, 0), QString());
    m_widths = QList<int>(qMax(columns, 0), 0);
    m_rows = QList<QStringList>(qMax(rows, 0), QStringList());
    endResetModel();
}

void MValTableModel::SetColumns(const QStringList& titles, const QList<int>& widthsTwips) {
    beginResetModel();
    m_titles = titles;
    m_widths = widthsTwips;
    m_widths.resize(m_titles.size(), 0);
    m_rows = {QStringList()};
    endResetModel();
}

void MValTableModel::SetRows(QList<QStringList> rows) {
    beginResetModel();
    m_rows = rows.isEmpty() ? QList<QStringList>{QStringList()} : std::move(rows);
    endResetModel();
}

void MValTableModel::AppendRow(const QStringList& fields) {
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.append(fields);
    endInsertRows();
}

QString MValTableModel::Cell(int row, int column) const {
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_titles.size()) {
        return QString();
    }
    return m_rows[row].value(column);
}

int MValTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MValTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant MValTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return QVariant();
    }
    return Cell(index.row(), index.column());
}

QVariant MValTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return m_titles.value(section);
}

Qt::ItemFlags MValTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

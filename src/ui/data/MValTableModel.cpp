#include "ui/data/MValTableModel.h"

#include "data/RecordWalker.h"

#include <QColor>

void MValTableModel::Reset(int columns, int rows) {
    beginResetModel();
    m_titles = QStringList(qMax(columns, 0), QString());
    m_widths = QList<int>(qMax(columns, 0), 0);
    m_text.clear();
    m_lines = QList<QStringView>(qMax(rows, 0));
    m_records = false;
    m_splitRow = -1;
    m_marks.clear();
    endResetModel();
}

void MValTableModel::SetMarks(const QHash<int, QString>& marks) {
    m_marks = marks;
    if (!m_lines.isEmpty() && !m_titles.isEmpty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ToolTipRole});
    }
}

void MValTableModel::Clear() {
    Reset(static_cast<int>(m_titles.size()), static_cast<int>(m_lines.size()));
}

void MValTableModel::SetColumns(const QStringList& titles, const QList<int>& widthsTwips) {
    beginResetModel();
    m_titles = titles;
    m_widths = widthsTwips;
    m_widths.resize(m_titles.size(), 0);
    m_text.clear();
    m_lines = QList<QStringView>(1);
    m_records = false;
    m_splitRow = -1;
    endResetModel();
}

void MValTableModel::SetRecords(const QString& text, QList<QStringView> lines) {
    beginResetModel();
    m_text = text;
    m_records = !lines.isEmpty();
    m_lines = lines.isEmpty() ? QList<QStringView>(1) : std::move(lines);
    m_splitRow = -1;
    endResetModel();
}

QString MValTableModel::Cell(int row, int column) const {
    if (row < 0 || row >= m_lines.size() || column < 0 || column >= m_titles.size()) {
        return QString();
    }
    if (row != m_splitRow) {
        const int count = static_cast<int>(m_titles.size());
        m_splitFields.resize(count);
        SplitRecordLine(m_lines[row], m_splitFields, count);
        m_splitRow = row;
    }
    return m_splitFields[column];
}

int MValTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int MValTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant MValTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return QVariant();
    }
    switch (role) {
    case Qt::DisplayRole:
        return Cell(index.row(), index.column());
    case Qt::BackgroundRole:
        return IsMarked(index.row()) ? QVariant(QColor(0xfd, 0xe2, 0xe1)) : QVariant();
    case Qt::ToolTipRole:
        return IsMarked(index.row()) ? QVariant(m_marks.value(index.row())) : QVariant();
    default:
        return QVariant();
    }
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

#include "ui/archive/AuditTrailModel.h"

#include "app/TextTables.h"
#include "archive/TraceText.h"

namespace {

enum Column { kTime, kAction, kObject, kChange, kReason, kWho, kColumns };

// Date et heure, Action, Objet, Valeur, Motif, Utilisateur.
constexpr int kTitles[kColumns] = {1302, 1869, 1870, 1065, 1861, 1665};

// "valid → invalid"; one side alone where the event only sets or only had a value.
QString Change(const AuditEvent& event) {
    if (event.oldValue.isEmpty() || event.newValue.isEmpty()) {
        return event.oldValue + event.newValue;
    }
    return event.oldValue + QStringLiteral(" \u2192 ") + event.newValue;
}

} // namespace

AuditTrailModel::AuditTrailModel(QObject* parent) : QAbstractTableModel(parent) {}

void AuditTrailModel::SetEvents(QList<AuditEvent> events) {
    beginResetModel();
    m_events = std::move(events);
    endResetModel();
}

QString AuditTrailModel::Cell(int row, int column) const {
    if (row < 0 || row >= m_events.size()) {
        return {};
    }
    const AuditEvent& event = m_events.at(row);
    switch (column) {
    case kTime:
        return TraceText::LocalTime(event.at);
    case kAction:
        return TraceText::ActionLabel(event.action);
    case kObject:
        return event.object;
    case kChange:
        return Change(event);
    case kReason:
        return event.reason;
    case kWho:
        return TraceText::Identity(event.who);
    default:
        return {};
    }
}

int AuditTrailModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_events.size());
}

int AuditTrailModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

// A reason or an identity runs longer than its column: the tip shows it whole.
QVariant AuditTrailModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    return Cell(index.row(), index.column());
}

QVariant AuditTrailModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kColumns) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return LoadResString(kTitles[section]);
}

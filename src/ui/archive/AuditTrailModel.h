#pragma once

#include "archive/ArchiveTrail.h"

#include <QAbstractTableModel>
#include <QList>

// The audit trail's events as the "Journal" tab shows them, one row each in the order they
// were written: the time in the user's time zone, the action's label, the object, the old
// and new values, the reason and who. The texts are made when a cell is painted, so a
// trail of years costs the memory of its events only.
class AuditTrailModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit AuditTrailModel(QObject* parent = nullptr);

    void SetEvents(QList<AuditEvent> events);
    const QList<AuditEvent>& Events() const { return m_events; }
    QString Cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<AuditEvent> m_events;
};

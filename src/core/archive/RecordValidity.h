#pragma once

#include "archive/ArchiveIdentity.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class ArchiveDatabase;

// A record's validity as its latest row of record_states says it; no row: valid.
struct RecordState {
    bool valid = true;
    QString reason;
    QDateTime at; // UTC
    ArchiveIdentity who;
};

// Sets archived records aside with a reason, or takes them back, never deleting or changing
// a record: each change is a new row of record_states and an event of the audit trail.
class RecordValidity {
public:
    explicit RecordValidity(ArchiveDatabase& database) : m_db(database) {}

    // One transaction: each record not already in that state gets a new record_states row
    // and one audit event (old and new "valid"/"invalid", the reason). Refused (false,
    // Error()) for an empty reason or an id the archive does not hold, and then nothing is
    // written; `changed` = the records whose state changed, in the order given.
    bool Invalidate(const QList<qint64>& recordIds, const QString& reason,
                    const ArchiveIdentity& who, QList<qint64>& changed);
    bool Restore(const QList<qint64>& recordIds, const QString& reason, const ArchiveIdentity& who,
                 QList<qint64>& changed);
    // The current state of each listed record that is invalid (absent: valid).
    bool Invalid(const QList<qint64>& recordIds, QHash<qint64, RecordState>& invalid);

    // A SQL condition true when the record aliased `alias` is valid, for queries to AND in.
    static QString ValidCondition(const QString& alias);
    // A LEFT JOIN giving the latest state of the record aliased `alias` as `state` (its
    // columns NULL for a record that never changed), for queries that also read the reason.
    static QString StateJoin(const QString& alias, const QString& state);

private:
    bool Change(const QList<qint64>& recordIds, bool valid, const QString& reason,
                const ArchiveIdentity& who, QList<qint64>& changed);
    // The ids among `ids` that are in the state `valid`; throws when one is not archived.
    QSet<qint64> AlreadyIn(const QList<qint64>& ids, bool valid);

    ArchiveDatabase& m_db;
};

#include "archive/RecordValidity.h"

#include "app/Errors.h"
#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveIdList.h"
#include "archive/ArchiveTrail.h"
#include "archive/IdentityRow.h"

#include <QSet>
#include <QSqlQuery>

namespace {

QString Word(bool valid) {
    return valid ? QStringLiteral("valid") : QStringLiteral("invalid");
}

} // namespace

QString RecordValidity::ValidCondition(const QString& alias) {
    // An anti-join on both engines: a record that never changed costs one probe of the
    // states' index, and the archive of a lab that invalidates little stays as fast to read.
    return QStringLiteral("NOT EXISTS (SELECT 1 FROM record_states vs WHERE vs.record_id = %1.id "
                          "AND vs.valid = 0 AND vs.id = (SELECT MAX(vl.id) FROM record_states vl "
                          "WHERE vl.record_id = %1.id))")
        .arg(alias);
}

QString RecordValidity::StateJoin(const QString& alias, const QString& state) {
    return QStringLiteral(" LEFT JOIN record_states %2 ON %2.record_id = %1.id AND %2.id = "
                          "(SELECT MAX(%2l.id) FROM record_states %2l WHERE %2l.record_id = %1.id)")
        .arg(alias, state);
}

bool RecordValidity::Invalidate(const QList<qint64>& recordIds, const QString& reason,
                                const ArchiveIdentity& who, QList<qint64>& changed) {
    return Change(recordIds, false, reason, who, changed);
}

bool RecordValidity::Restore(const QList<qint64>& recordIds, const QString& reason,
                             const ArchiveIdentity& who, QList<qint64>& changed) {
    return Change(recordIds, true, reason, who, changed);
}

QSet<qint64> RecordValidity::AlreadyIn(const QList<qint64>& ids, bool valid) {
    QHash<qint64, bool> states;
    ArchiveIdList::Select(m_db,
                          QStringLiteral("SELECT r.id, st.valid FROM records r") +
                              StateJoin(QStringLiteral("r"), QStringLiteral("st")) +
                              QStringLiteral(" WHERE r.id IN (%1)"),
                          ids, [&](const QSqlQuery& q) {
                              states.insert(q.value(0).toLongLong(),
                                            q.value(1).isNull() || q.value(1).toInt() == 1);
                          });
    QSet<qint64> already;
    for (const qint64 id : ids) {
        const auto state = states.constFind(id);
        if (state == states.constEnd()) {
            throw MervexError(LoadResString(1831).arg(m_db.Target().Display()).arg(id));
        }
        if (*state == valid) {
            already.insert(id);
        }
    }
    return already;
}

bool RecordValidity::Change(const QList<qint64>& recordIds, bool valid, const QString& reason,
                            const ArchiveIdentity& who, QList<qint64>& changed) {
    changed.clear();
    return m_db.Write([&] {
        changed.clear();
        const QString why = reason.trimmed();
        if (why.isEmpty()) {
            throw MervexError(LoadResString(1830));
        }
        // Two PCs setting the same record aside at once would both find it valid: the
        // trail's lock makes the second one find it invalid.
        m_db.LockChain();
        const QList<qint64> ids = ArchiveIdList::Distinct(recordIds);
        const QSet<qint64> already = AlreadyIn(ids, valid);
        QSqlQuery insert = m_db.Prepare(
            QStringLiteral("INSERT INTO record_states (record_id, valid, reason, changed_at, %1) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(IdentityRow::Columns()));
        const QVariant now = m_db.TimeValue(QDateTime::currentDateTimeUtc());
        ArchiveTrail trail(m_db);
        for (const qint64 id : ids) {
            if (already.contains(id)) {
                continue;
            }
            int at = 0;
            for (const QVariant& value :
                 QVariantList{id, valid ? 1 : 0, why, now} + IdentityRow::Values(who)) {
                insert.bindValue(at++, value);
            }
            m_db.Exec(insert);
            trail.Append(who,
                         QLatin1String(valid ? ArchiveTrail::kRecordRestored
                                             : ArchiveTrail::kRecordInvalidated),
                         QStringLiteral("record %1").arg(id), Word(!valid), Word(valid), why);
            changed.append(id);
        }
    });
}

bool RecordValidity::Invalid(const QList<qint64>& recordIds, QHash<qint64, RecordState>& invalid) {
    invalid.clear();
    return m_db.Read([&] {
        ArchiveIdList::Select(
            m_db,
            QStringLiteral("SELECT st.record_id, st.reason, %1, %2 FROM records r%3 "
                           "WHERE r.id IN (%4) AND st.valid = 0")
                .arg(m_db.TimeText(QStringLiteral("st.changed_at")),
                     IdentityRow::Columns(QStringLiteral("st")),
                     StateJoin(QStringLiteral("r"), QStringLiteral("st")), QStringLiteral("%1")),
            ArchiveIdList::Distinct(recordIds), [&](const QSqlQuery& q) {
                RecordState state;
                state.valid = false;
                state.reason = q.value(1).toString();
                state.at = ArchiveDatabase::StoredTime(q.value(2).toString()).value_or(QDateTime());
                state.who = IdentityRow::Read(q, 3);
                invalid.insert(q.value(0).toLongLong(), state);
            });
    });
}

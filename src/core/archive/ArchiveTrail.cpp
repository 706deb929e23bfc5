#include "archive/ArchiveTrail.h"

#include "archive/ArchiveDatabase.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QStringList>

namespace {

constexpr const char* kTimeFormat = "yyyy-MM-dd HH:mm:ss";

// A text a NOT NULL column takes: a null string would be bound as SQL NULL.
QString Given(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

QString TimeOf(const QDateTime& at) {
    return at.toString(QLatin1String(kTimeFormat));
}

} // namespace

QString ArchiveTrail::DigestOf(const QString& previous, const AuditEvent& event) {
    const ArchiveIdentity& who = event.who;
    // The unit separator cannot be typed into a field, so no two events share a text.
    const QStringList fields{previous,     TimeOf(event.at), who.userName,       who.osAccount,
                             who.dbRole,   who.hostName,     who.programVersion, event.action,
                             event.object, event.oldValue,   event.newValue,     event.reason};
    return QString::fromLatin1(
        QCryptographicHash::hash(fields.join(QChar(0x1f)).toUtf8(), QCryptographicHash::Sha256)
            .toHex());
}

void ArchiveTrail::Append(const ArchiveIdentity& who, const QString& action, const QString& object,
                          const QString& oldValue, const QString& newValue, const QString& reason) {
    m_db.LockChain();
    QSqlQuery last =
        m_db.Prepare(QStringLiteral("SELECT digest FROM audit_trail ORDER BY id DESC LIMIT 1"));
    m_db.Exec(last);
    const QString previous = last.next() ? last.value(0).toString() : QString();
    last.finish();

    AuditEvent event;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    event.at = QDateTime(
        now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()), Qt::UTC);
    event.who = who;
    event.action = action;
    event.object = object;
    event.oldValue = oldValue;
    event.newValue = newValue;
    event.reason = reason;
    QSqlQuery insert = m_db.Prepare(QStringLiteral(
        "INSERT INTO audit_trail (event_at, user_name, os_account, db_role, host_name, "
        "program_version, action, object, old_value, new_value, reason, digest) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    insert.addBindValue(m_db.TimeValue(event.at));
    insert.addBindValue(Given(who.userName));
    insert.addBindValue(Given(who.osAccount));
    insert.addBindValue(ArchiveDatabase::TextValue(who.dbRole));
    insert.addBindValue(Given(who.hostName));
    insert.addBindValue(Given(who.programVersion));
    insert.addBindValue(Given(action));
    insert.addBindValue(Given(object));
    insert.addBindValue(ArchiveDatabase::TextValue(oldValue));
    insert.addBindValue(ArchiveDatabase::TextValue(newValue));
    insert.addBindValue(ArchiveDatabase::TextValue(reason));
    insert.addBindValue(DigestOf(previous, event));
    m_db.Exec(insert);
}

AuditEvent ArchiveTrail::EventOf(const QSqlQuery& query) {
    AuditEvent event;
    event.id = query.value(0).toLongLong();
    if (const auto at = ArchiveDatabase::StoredTime(query.value(1).toString())) {
        event.at = *at;
    }
    event.who = {query.value(2).toString(), query.value(3).toString(), query.value(5).toString(),
                 query.value(6).toString(), query.value(4).toString()};
    event.action = query.value(7).toString();
    event.object = query.value(8).toString();
    event.oldValue = query.value(9).toString();
    event.newValue = query.value(10).toString();
    event.reason = query.value(11).toString();
    event.digest = query.value(12).toString();
    return event;
}

bool ArchiveTrail::Read(std::optional<QDate> from, std::optional<QDate> to,
                        const std::function<bool(const AuditEvent&)>& visit) {
    return m_db.Read([&] {
        QString sql = QStringLiteral("SELECT id, %1, user_name, os_account, db_role, host_name, "
                                     "program_version, action, object, old_value, new_value, "
                                     "reason, digest FROM audit_trail WHERE 1 = 1")
                          .arg(m_db.TimeText(QStringLiteral("event_at")));
        if (from) {
            sql += QStringLiteral(" AND event_at >= ?");
        }
        if (to) {
            sql += QStringLiteral(" AND event_at < ?");
        }
        QSqlQuery query = m_db.Prepare(sql + QStringLiteral(" ORDER BY id"));
        if (from) {
            query.addBindValue(m_db.TimeValue(QDateTime(*from, QTime(0, 0), Qt::UTC)));
        }
        if (to) {
            query.addBindValue(m_db.TimeValue(QDateTime(to->addDays(1), QTime(0, 0), Qt::UTC)));
        }
        m_db.Exec(query);
        while (query.next()) {
            if (!visit(EventOf(query))) {
                return;
            }
        }
    });
}

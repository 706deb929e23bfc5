#pragma once

#include "archive/ArchiveIdentity.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

class ArchiveDatabase;
class QSqlQuery;

// One entry of the audit trail: who did what to which object, and when (UTC, whole seconds).
struct AuditEvent {
    qint64 id = 0;
    QDateTime at;
    ArchiveIdentity who;
    QString action, object, oldValue, newValue, reason, digest;
};

// The archive's audit trail: every change an auditor may ask about, in one table nobody can
// edit, each event chained to the one before it by its digest, so that an event removed or
// altered behind the program's back breaks the chain at that place.
class ArchiveTrail {
public:
    // Stable codes stored in `action` and written by `archive log`; windows show a label.
    static constexpr const char* kImportArchived = "import_archived";
    static constexpr const char* kRecordInvalidated = "record_invalidated";
    static constexpr const char* kRecordRestored = "record_restored";
    static constexpr const char* kQcVersionAdded = "qc_version_added";
    static constexpr const char* kLimitVersionAdded = "limit_version_added";
    static constexpr const char* kReviewGiven = "review_given";
    static constexpr const char* kBackupMade = "backup_made";
    static constexpr const char* kSchemaUpgraded = "schema_upgraded";

    explicit ArchiveTrail(ArchiveDatabase& database) : m_db(database) {}

    // Inside ArchiveDatabase::Write only: appends one event, chained to the latest under the
    // archive-wide chain lock. Throws the archive's error.
    void Append(const ArchiveIdentity& who, const QString& action, const QString& object,
                const QString& oldValue = {}, const QString& newValue = {},
                const QString& reason = {});
    // The events whose UTC date is within [from, to] (either end open), in id order; `visit`
    // returns false to end early, which is no failure. False with the database's Error().
    bool Read(std::optional<QDate> from, std::optional<QDate> to,
              const std::function<bool(const AuditEvent&)>& visit);
    // The digest of `event` following `previous` (empty for the first event): SHA-256, in
    // hexadecimal, of the previous digest and the event's fields.
    static QString DigestOf(const QString& previous, const AuditEvent& event);

private:
    static AuditEvent EventOf(const QSqlQuery& query);

    ArchiveDatabase& m_db;
};

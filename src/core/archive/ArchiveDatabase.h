#pragma once

#include "archive/ArchiveIdentity.h"
#include "archive/ArchiveTarget.h"

#include <QDateTime>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QTimeZone>
#include <QVariant>
#include <atomic>
#include <functional>
#include <optional>

class ArchiveWatch;
struct ArchiveRecord;
class QSqlQuery;

// One connection to the measurement archive and its schema: opening creates the file or
// the tables on first use, upgrades an older schema, and refuses an archive written by a
// newer program. Every failure leaves a message for the user in Error().
class ArchiveDatabase {
public:
    // The schema this program writes; archive_schema holds the archive's own.
    static constexpr int kSchemaVersion = 4;

    ArchiveDatabase();
    ~ArchiveDatabase();
    ArchiveDatabase(const ArchiveDatabase&) = delete;
    ArchiveDatabase& operator=(const ArchiveDatabase&) = delete;

    // On PostgreSQL the session waits at most `timeouts.lockSeconds` for a lock and, inside
    // Write, `timeouts.statementSeconds` for a statement.
    bool Open(const ArchiveTarget& target, const ArchiveTimeouts& timeouts = {});
    // The archive Settings.ini names: Database=, or the per-user default file.
    bool Open(const ArchiveSettings& settings);
    // Every later call into the database reports its start and return to `watch` (nullptr:
    // none).
    void Watch(ArchiveWatch* watch) { m_watch = watch; }
    const ArchiveTimeouts& Timeouts() const { return m_timeouts; }
    bool IsOpen() const { return m_db.isOpen(); }
    // True when the archive could only be opened for reading (a file or folder the user may
    // not write): queries answer, writes fail with the archive's read-only message.
    bool IsReadOnly() const { return m_readOnly; }
    // Whether this connection may write (SQLite: not read-only; PostgreSQL: its role may
    // INSERT records, read once at opening), and a sentence saying why not.
    bool CanWrite() const { return m_canWrite; }
    QString WhyReadOnly() const;
    // The zone the meters' clocks show (TimeZone= in Settings.ini, else this PC's): the
    // instants the archive orders records by are read from their wall-clock times in it.
    const QTimeZone& MeasurementZone() const { return m_zone; }
    void SetMeasurementZone(const QTimeZone& zone) {
        m_zone = zone;
        m_dayOffsets.clear();
    }
    const ArchiveTarget& Target() const { return m_target; }
    bool IsPostgres() const { return m_target.engine == ArchiveTarget::Engine::Postgres; }
    int SchemaVersion() const { return m_version; }
    // The version this connection found before it upgraded the archive, and the records the
    // upgrade folded into an earlier copy of themselves; 0 when it upgraded nothing.
    int UpgradedFrom() const { return m_upgradedFrom; }
    qint64 FoldedRecords() const { return m_folded; }
    // What the upgrade did, for the log or the status bar; empty when it did nothing.
    QString UpgradeNote() const;
    const QString& Error() const { return m_error; }
    // How many values one statement may bind on this connection.
    int MaxBoundValues() const { return m_maxBound; }

    QSqlDatabase& Connection() { return m_db; }
    // A query prepared on this connection; throws the archive's error when `sql` is refused.
    QSqlQuery Prepare(const QString& sql);
    // Runs a prepared query; throws the archive's error when it fails.
    void Exec(QSqlQuery& query);
    void Exec(const QString& sql);

    // Runs `work` as one write transaction and commits it; on an exception rolls back and
    // keeps its message. On SQLite the transaction holds the file's write lock throughout.
    // When the server went away meanwhile, connects again once and runs `work` again (it
    // starts from nothing each time); Lost() when that did not help.
    bool Write(const std::function<void()>& work);
    // The server's connection was lost and could not be restored: nothing more can be done
    // on this connection, and Error() says so.
    bool Lost() const { return m_lost; }
    // Inside Write: waits until no other writer holds `key`, and holds it to the end of the
    // transaction (a PostgreSQL advisory lock; SQLite's file lock already serialises).
    void Lock(qint64 key);
    // Inside Write: the one lock of the whole archive that orders its digest chains; taken
    // last, once a transaction's other locks are held, and kept to its end.
    void LockChain();
    // This process's and connection's identity with `userName` (the login name): what every
    // row an auditor may ask about records of who wrote it.
    ArchiveIdentity Identity(const QString& userName) const;
    // Runs `work`; an exception becomes Error() and the result false.
    bool Read(const std::function<void()>& work);
    // Once `*stop` is true, a write transaction that got the lock it waited for rolls back
    // instead of going on: whoever started it no longer waits for it.
    void SetStop(const std::atomic<bool>* stop) { m_stop = stop; }

    // A timestamp as this engine stores it: PostgreSQL a TIMESTAMP, SQLite whole seconds
    // (the wall-clock time counted as if it were UTC, which SQLite's 'unixepoch' reads);
    // NULL for none.
    QVariant TimeValue(const std::optional<QDateTime>& time) const;
    // The stored instant (UTC) of a meter's wall-clock time in MeasurementZone().
    QVariant InstantValue(const std::optional<QDateTime>& wallClock) const;
    // A SELECT expression giving a stored timestamp back as "YYYY-MM-DD HH:MM:SS".
    QString TimeText(const QString& column) const;
    // A time as TimeText gives it back, in no zone (Qt::UTC holding the stored clock's
    // reading, so that no daylight-saving change can move it); nothing for NULL.
    static std::optional<QDateTime> StoredTime(const QString& text);
    // A text as the archive binds it: NULL for an empty one, as every optional text column
    // keeps it.
    static QVariant TextValue(const QString& text);
    // A number, or NULL for none.
    template <typename T> static QVariant OptionalValue(const std::optional<T>& value) {
        return value ? QVariant::fromValue(*value) : QVariant(QMetaType::fromType<T>());
    }

    // The archive's error for a failed statement, a sentence in the program's language with
    // the database's own text as its detail: damaged file, read-only, disk full, server
    // unreachable, a lock or statement time-out...
    QString Describe(const QSqlError& error);
    // The database's text of `error`, never empty.
    static QString Reason(const QSqlError& error);

private:
    bool Connect();
    bool Reconnect();
    bool WriteOnce(const std::function<void()>& work);
    bool Answers();
    QString DescribeServer(const QSqlError& error, const QString& where,
                           const QString& reason) const;
    void LimitStatements();
    void StartSession();
    void CreateOrUpgrade();
    // Whether the session's role may add records, and its name.
    void ReadPrivileges();
    void CreateSchema();
    void CreateRecords(const QString& table);
    void UpgradeTo2();
    void UpgradeTo3();
    void UpgradeTo4();
    void CreateTraceTables();
    void CreateAppendOnlyTriggers();
    void FillNewColumns();
    void FillFirstValueColumns();
    // Every record of `table` by id, its line split by its meter's layout, with its stored
    // wall-clock time as text; the visit may update the table.
    void ForEachRecord(
        const QString& table,
        const std::function<void(qint64 id, const QString& line, const ArchiveRecord& record,
                                 const QString& measured)>& visit);
    void ArchivedAtToUtc();
    bool OpenSqlite(const ArchiveTarget& target);
    void RefuseForeign();
    qint64 CountRecords(const QString& table);
    int StoredVersion();
    void ThrowIfStopped() const;
    int EngineMaxBoundValues();
    QString SqlType(const char* kind) const;

    QString m_name; // Qt's connection name, unique per object
    QSqlDatabase m_db;
    ArchiveTarget m_target;
    ArchiveTimeouts m_timeouts;
    ArchiveWatch* m_watch = nullptr;
    QTimeZone m_zone = QTimeZone::systemTimeZone();
    // The days InstantValue read, with their offset when the whole day has one.
    mutable QHash<QDate, std::optional<qint64>> m_dayOffsets;
    bool m_readOnly = false;
    bool m_canWrite = true;
    int m_version = 0;
    int m_upgradedFrom = 0;
    qint64 m_folded = 0;
    int m_maxBound = 999;
    QString m_error;
    QString m_role; // PostgreSQL's session_user
    const std::atomic<bool>* m_stop = nullptr;
    QSqlError m_lastError;
    bool m_lost = false;
};

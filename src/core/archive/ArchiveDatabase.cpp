#include "archive/ArchiveDatabase.h"

#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "archive/ArchiveChain.h"
#include "archive/ArchiveRecord.h"
#include "archive/ArchiveTrail.h"
#include "archive/ArchiveWatch.h"
#include "meter/RecordLayout.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <QVersionNumber>
#include <fcntl.h>
#include <tuple>
#include <unistd.h>

namespace {

// A writer that finds the SQLite file locked waits this long before it gives up: long
// enough for another program's import of a large dataset to commit.
constexpr int kSqliteBusyMs = 15000;
// A server that does not answer is reported within this time.
constexpr int kConnectSeconds = 4;
// The days whose offset InstantValue keeps at most (ten years of daily measurements).
constexpr qsizetype kKnownDays = 4000;
// The advisory lock that serialises the creation or upgrade of the tables.
constexpr qint64 kSchemaLock = 0x4d65727665780001;
// The advisory lock that gives each import and audit event its place in its chain.
constexpr qint64 kChainLock = 0x4d65727665780002;

// SQLite's primary result codes (the low byte of an extended one).
enum SqliteCode {
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kNotADatabase = 26,
    kPermission = 3
};

QString NextConnectionName() {
    static QAtomicInteger<int> counter;
    return QStringLiteral("mervex-archive-%1").arg(counter.fetchAndAddRelaxed(1));
}

// The default file holds the lab's measurements among the user's own files: a new one is
// made readable by that user only (0600, in a 0700 folder); SQLite gives its journal files
// the same permissions.
void KeepPrivate(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder)) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QFile file(path);
    if (!file.exists()) {
        // An empty file is an empty database; a failure here is SQLite's to report.
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner);
    }
}

// Whether this process may write `path`, by its effective rights (as the kernel will judge
// the write), not the real user's that QFileInfo asks about.
bool MayWrite(const QString& path) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

} // namespace

ArchiveDatabase::ArchiveDatabase() : m_name(NextConnectionName()) {}

ArchiveDatabase::~ArchiveDatabase() {
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool ArchiveDatabase::OpenSqlite(const ArchiveTarget& target) {
    // The program's own data folder (the default file's, or a relative path's) is made on
    // first use; any other folder is the user's to make.
    if (QFileInfo(target.path).absolutePath() ==
        QFileInfo(ArchiveTarget::DefaultFile().path).absolutePath()) {
        KeepPrivate(target.path);
    }
    const QFileInfo file(target.path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir()) {
        m_error = RunTimeText(RtError::ArchiveNoFolder).arg(target.Display());
        return false;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kSqliteBusyMs);
    // An archive the user may read but not write (a colleague's copy, a folder shared
    // read-only) still answers queries: its journal beside it cannot be made, so it is read
    // as it stands on disk.
    m_readOnly =
        file.exists() && (!MayWrite(file.absoluteFilePath()) || !MayWrite(folder.filePath()));
    if (m_readOnly) {
        options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
        QUrl uri = QUrl::fromLocalFile(file.absoluteFilePath());
        if (!MayWrite(folder.filePath()) &&
            !QFileInfo::exists(target.path + QStringLiteral("-shm"))) {
            uri.setQuery(QStringLiteral("immutable=1"));
        }
        m_db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    } else {
        m_db.setDatabaseName(target.path);
    }
    m_db.setConnectOptions(options);
    return true;
}

bool ArchiveDatabase::Open(const ArchiveTarget& target, const ArchiveTimeouts& timeouts) {
    m_target = target;
    m_timeouts = timeouts;
    m_error.clear();
    m_readOnly = false;
    if (target.engine == ArchiveTarget::Engine::Sqlite) {
        if (!OpenSqlite(target)) {
            return false;
        }
    } else {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        m_db.setHostName(target.host);
        m_db.setPort(target.port);
        m_db.setUserName(target.user);
        m_db.setDatabaseName(target.databaseName);
        m_db.setConnectOptions(target.ConnectOptions(kConnectSeconds));
    }
    if (!m_db.isValid()) {
        m_error =
            RunTimeText(RtError::ArchiveCannotOpen).arg(target.Display(), m_db.lastError().text());
        return false;
    }
    return Connect() && Read([this] {
               CreateOrUpgrade();
               ReadPrivileges();
           });
}

void ArchiveDatabase::ReadPrivileges() {
    m_canWrite = !m_readOnly;
    if (!IsPostgres()) {
        return;
    }
    // A lab may give its LIMS or its reviewers a role that only reads: the program then
    // says so before it tries a write rather than after the server refused it.
    QSqlQuery q =
        Prepare(QStringLiteral("SELECT has_table_privilege(current_user, 'records', 'INSERT')"));
    Exec(q);
    m_canWrite = q.next() && q.value(0).toBool();
}

QString ArchiveDatabase::WhyReadOnly() const {
    if (m_canWrite) {
        return QString();
    }
    return IsPostgres() ? LoadResString(1838).arg(m_role, m_target.Display())
                        : RunTimeText(RtError::ArchiveReadOnly).arg(m_target.Display());
}

bool ArchiveDatabase::Connect() {
    bool opened = false;
    {
        const ArchiveWatch::Call call(m_watch);
        opened = m_db.open();
    }
    if (!opened) {
        m_error = Describe(m_db.lastError());
        return false;
    }
    return Read([this] { StartSession(); });
}

void ArchiveDatabase::StartSession() {
    if (!IsPostgres()) {
        return;
    }
    // A lock another PC holds is waited for a while, not for ever. The server also probes a
    // client that went silent (a laptop asleep inside a transaction) and ends its session,
    // and with it the locks it held.
    QSqlQuery session =
        Prepare(QStringLiteral("SELECT set_config('lock_timeout', ?, false), "
                               "set_config('tcp_keepalives_idle', '30', false), "
                               "set_config('tcp_keepalives_interval', '10', false), "
                               "set_config('tcp_keepalives_count', '3', false)"));
    session.addBindValue(QStringLiteral("%1s").arg(m_timeouts.lockSeconds));
    Exec(session);
    QSqlQuery role = Prepare(QStringLiteral("SELECT session_user"));
    Exec(role);
    m_role = role.next() ? role.value(0).toString() : QString();
}

bool ArchiveDatabase::Open(const ArchiveSettings& settings) {
    if (!settings.timeZone.isEmpty()) {
        m_zone = QTimeZone(settings.timeZone.toUtf8());
        if (!m_zone.isValid()) {
            m_error = RunTimeText(RtError::ArchiveTimeZone).arg(settings.timeZone);
            return false;
        }
    }
    if (settings.database.trimmed().isEmpty()) {
        return Open(ArchiveTarget::DefaultFile(), settings.timeouts);
    }
    const std::optional<ArchiveTarget> target = ArchiveTarget::Parse(settings.database, &m_error);
    return target && Open(*target, settings.timeouts);
}

QString ArchiveDatabase::UpgradeNote() const {
    if (m_upgradedFrom == 0) {
        return QString();
    }
    if (m_upgradedFrom >= 2) {
        return LoadResString(1673).arg(m_target.Display()).arg(m_version);
    }
    return LoadResString(1671).arg(m_target.Display()).arg(m_version).arg(m_folded);
}

QSqlQuery ArchiveDatabase::Prepare(const QString& sql) {
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    const ArchiveWatch::Call call(m_watch);
    if (!query.prepare(sql)) {
        throw MervexError(Describe(query.lastError()));
    }
    return query;
}

void ArchiveDatabase::Exec(QSqlQuery& query) {
    const ArchiveWatch::Call call(m_watch);
    if (!query.exec()) {
        throw MervexError(Describe(query.lastError()));
    }
}

void ArchiveDatabase::Exec(const QString& sql) {
    QSqlQuery query(m_db);
    const ArchiveWatch::Call call(m_watch);
    if (!query.exec(sql)) {
        throw MervexError(Describe(query.lastError()));
    }
}

bool ArchiveDatabase::Write(const std::function<void()>& work) {
    if (WriteOnce(work)) {
        return true;
    }
    if (!m_lost) {
        return false;
    }
    // The server ended the session (restarted, or an administrator ended it) and with it the
    // transaction: once more on a new connection. A second loss is not tried again.
    return Reconnect() && WriteOnce(work);
}

bool ArchiveDatabase::WriteOnce(const std::function<void()>& work) {
    m_lost = false;
    if (Read([&] {
            // SQLite: take the write lock at the start, so that two writers queue on the busy
            // timeout instead of one failing when its read turns into a write.
            Exec(IsPostgres() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
            try {
                LimitStatements();
                ThrowIfStopped();
                work();
                // A starter that stopped waiting meanwhile gets nothing: roll back.
                ThrowIfStopped();
                Exec(QStringLiteral("COMMIT"));
            } catch (...) {
                const ArchiveWatch::Call call(m_watch);
                QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
                throw;
            }
        })) {
        return true;
    }
    if (IsPostgres() && !Answers()) {
        m_lost = true;
        m_error = RunTimeText(RtError::ArchiveLost).arg(m_target.Display(), Reason(m_lastError));
    }
    return false;
}

bool ArchiveDatabase::Answers() {
    const ArchiveWatch::Call call(m_watch);
    QSqlQuery probe(m_db);
    return probe.exec(QStringLiteral("SELECT 1"));
}

bool ArchiveDatabase::Reconnect() {
    m_db.close();
    if (Connect()) {
        return true;
    }
    m_lost = true;
    m_error = RunTimeText(RtError::ArchiveLost).arg(m_target.Display(), Reason(m_lastError));
    return false;
}

void ArchiveDatabase::LimitStatements() {
    if (!IsPostgres()) {
        return;
    }
    // For this transaction only: a write that hangs is cancelled, and so is a transaction
    // whose program stopped sending (its locks would hold every other PC's imports).
    QSqlQuery limits =
        Prepare(QStringLiteral("SELECT set_config('statement_timeout', ?, true), "
                               "set_config('idle_in_transaction_session_timeout', ?, true)"));
    const QString seconds = QStringLiteral("%1s").arg(m_timeouts.statementSeconds);
    limits.addBindValue(seconds);
    limits.addBindValue(seconds);
    Exec(limits);
}

void ArchiveDatabase::Lock(qint64 key) {
    if (IsPostgres()) {
        QSqlQuery lock = Prepare(QStringLiteral("SELECT pg_advisory_xact_lock(?)"));
        lock.addBindValue(key);
        Exec(lock);
        ThrowIfStopped();
    }
}

void ArchiveDatabase::LockChain() {
    Lock(kChainLock);
}

ArchiveIdentity ArchiveDatabase::Identity(const QString& userName) const {
    ArchiveIdentity identity = ArchiveIdentity::OfProcess(userName);
    identity.dbRole = m_role;
    return identity;
}

void ArchiveDatabase::ThrowIfStopped() const {
    if (m_stop && *m_stop) {
        throw MervexError(RunTimeText(RtError::ArchiveStopped).arg(m_target.Display()));
    }
}

bool ArchiveDatabase::Read(const std::function<void()>& work) {
    m_error.clear();
    try {
        work();
        return true;
    } catch (const MervexError& e) {
        m_error = e.Description();
        return false;
    }
}

QVariant ArchiveDatabase::TimeValue(const std::optional<QDateTime>& time) const {
    if (!time) {
        return QVariant(QMetaType::fromType<qint64>());
    }
    if (IsPostgres()) {
        return time->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return QDateTime(time->date(), time->time(), Qt::UTC).toSecsSinceEpoch();
}

QVariant ArchiveDatabase::InstantValue(const std::optional<QDateTime>& wallClock) const {
    if (!wallClock) {
        return TimeValue(wallClock);
    }
    // A day whose offset is the same at its start and its end (every day but those of a
    // change of clocks) reads each of its times with it: the zone is asked twice a day, not
    // for every record.
    const QDate day = wallClock->date();
    auto known = m_dayOffsets.constFind(day);
    if (known == m_dayOffsets.constEnd()) {
        const auto offsetAt = [this](const QDateTime& wall) {
            return ArchiveRecord::InstantOf(wall, m_zone).secsTo(wall);
        };
        const qint64 start = offsetAt(QDateTime(day, QTime(0, 0), Qt::UTC));
        const qint64 end = offsetAt(QDateTime(day, QTime(23, 59, 59), Qt::UTC));
        if (m_dayOffsets.size() > kKnownDays) {
            m_dayOffsets.clear();
        }
        known =
            m_dayOffsets.insert(day, start == end ? std::optional<qint64>(start) : std::nullopt);
    }
    const QDateTime asUtc(day, wallClock->time(), Qt::UTC);
    return TimeValue(*known ? asUtc.addSecs(-**known)
                            : ArchiveRecord::InstantOf(*wallClock, m_zone));
}

QString ArchiveDatabase::TimeText(const QString& column) const {
    return IsPostgres()
               ? QStringLiteral("to_char(%1, 'YYYY-MM-DD HH24:MI:SS')").arg(column)
               : QStringLiteral("strftime('%Y-%m-%d %H:%M:%S', %1, 'unixepoch')").arg(column);
}

QString ArchiveDatabase::Reason(const QSqlError& error) {
    // The server's own words; the driver's (a generic "cannot execute") only when the server
    // said nothing.
    QString reason = error.databaseText().trimmed();
    if (reason.isEmpty()) {
        reason = error.driverText().trimmed();
    }
    return reason.isEmpty() ? RunTimeText(RtError::UnknownError) : reason;
}

// Read digit by digit (an export reads three per record), Qt's parser for any other form.
QVariant ArchiveDatabase::TextValue(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

std::optional<QDateTime> ArchiveDatabase::StoredTime(const QString& text) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const auto number = [&text](qsizetype from, qsizetype digits) {
        int value = 0;
        for (qsizetype i = from; i < from + digits; ++i) {
            const int digit = text[i].digitValue();
            if (digit < 0) {
                return -1;
            }
            value = value * 10 + digit;
        }
        return value;
    };
    if (text.size() == 19) {
        const QDate date(number(0, 4), number(5, 2), number(8, 2));
        const QTime time(number(11, 2), number(14, 2), number(17, 2));
        if (date.isValid() && time.isValid()) {
            return QDateTime(date, time, Qt::UTC);
        }
    }
    return QDateTime(QDate::fromString(text.left(10), Qt::ISODate),
                     QTime::fromString(text.mid(11), Qt::ISODate), Qt::UTC);
}

QString ArchiveDatabase::Describe(const QSqlError& error) {
    m_lastError = error;
    const QString where = m_target.Display();
    const QString reason = Reason(error);
    if (IsPostgres()) {
        return DescribeServer(error, where, reason);
    }
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case kNotADatabase:
    case kCorrupt:
        return RunTimeText(RtError::ArchiveDamaged).arg(where);
    case kReadOnly:
    case kPermission:
    case kCantOpen:
        return RunTimeText(RtError::ArchiveReadOnly).arg(where);
    case kFull:
        return RunTimeText(RtError::ArchiveDiskFull).arg(where);
    case kBusy:
    case kLocked:
        return RunTimeText(RtError::ArchiveBusy).arg(where);
    case kIoError:
    default:
        // Also a failed statement of an archive that opened: "cannot be opened" misled.
        return RunTimeText(RtError::ArchiveFailed).arg(where, reason);
    }
}

QString ArchiveDatabase::DescribeServer(const QSqlError& error, const QString& where,
                                        const QString& reason) const {
    // The server's SQLSTATE: lock_not_available, query_canceled (the statement's time-out).
    const QString state = error.nativeErrorCode();
    if (state == QLatin1String("55P03")) {
        return RunTimeText(RtError::ArchiveLockWait)
            .arg(where)
            .arg(m_timeouts.lockSeconds)
            .arg(reason);
    }
    if (state == QLatin1String("57014")) {
        return RunTimeText(RtError::ArchiveTooLong)
            .arg(where)
            .arg(m_timeouts.statementSeconds)
            .arg(reason);
    }
    if (error.type() == QSqlError::ConnectionError) {
        return RunTimeText(RtError::ArchiveUnreachable).arg(where, reason);
    }
    return RunTimeText(RtError::ArchiveRefused).arg(where, reason);
}

int ArchiveDatabase::StoredVersion() {
    if (!m_db.tables().contains(QStringLiteral("archive_schema"))) {
        return 0;
    }
    QSqlQuery query = Prepare(QStringLiteral("SELECT MAX(version) FROM archive_schema"));
    Exec(query);
    return query.next() ? query.value(0).toInt() : 0;
}

int ArchiveDatabase::EngineMaxBoundValues() {
    if (IsPostgres()) {
        // The protocol numbers a statement's parameters in 16 bits.
        return 65535;
    }
    // SQLite takes 32766 values per statement since 3.32.0, 999 before (unless built
    // otherwise, which no distribution does downwards).
    QSqlQuery version = Prepare(QStringLiteral("SELECT sqlite_version()"));
    Exec(version);
    const QVersionNumber number =
        version.next() ? QVersionNumber::fromString(version.value(0).toString()) : QVersionNumber();
    return number >= QVersionNumber(3, 32) ? 32766 : 999;
}

void ArchiveDatabase::RefuseForeign() {
    // Another program's SQLite database named as the archive by mistake is not given the
    // archive's tables beside its own.
    for (const QString& table : m_db.tables()) {
        if (!table.startsWith(QLatin1String("sqlite_"))) {
            throw MervexError(RunTimeText(RtError::ArchiveForeign).arg(m_target.Display()));
        }
    }
}

void ArchiveDatabase::CreateOrUpgrade() {
    m_version = StoredVersion();
    if (m_version == 0 && !IsPostgres()) {
        RefuseForeign();
    }
    if (!IsPostgres()) {
        if (!m_readOnly) {
            // A journal beside the file lets readers go on while an import is written.
            Exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        }
        // SQLite checks the declared references only when each connection asks it to.
        Exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        // Record keys are random: an import touches pages all over their index, which the
        // default cache of 2 MiB reads again and again (64 MiB at most, as pages are used).
        Exec(QStringLiteral("PRAGMA cache_size=-65536"));
    }
    m_maxBound = EngineMaxBoundValues();
    if (m_version == kSchemaVersion) {
        return;
    }
    if (m_version > kSchemaVersion) {
        throw MervexError(RunTimeText(RtError::ArchiveNewer)
                              .arg(m_target.Display())
                              .arg(m_version)
                              .arg(kSchemaVersion));
    }
    if (m_readOnly) {
        // Neither made nor upgraded without writing: the file is left as it is.
        throw MervexError(
            RunTimeText(m_version == 0 ? RtError::ArchiveForeign : RtError::ArchiveReadOnly)
                .arg(m_target.Display()));
    }
    // A new or older archive: build or upgrade it under the write lock, and look again once
    // it is held, since another program may have done it meanwhile. One transaction: a
    // failed upgrade leaves the archive as it was.
    Write([this] {
        Lock(kSchemaLock);
        m_version = StoredVersion();
        const int found = m_version;
        if (m_version == 0) {
            CreateSchema();
        }
        if (m_version == 1) {
            UpgradeTo2();
        }
        if (m_version == 2) {
            UpgradeTo3();
        }
        if (m_version == 3) {
            UpgradeTo4();
        }
        if (m_version < kSchemaVersion) {
            throw MervexError(RunTimeText(RtError::ArchiveNewer)
                                  .arg(m_target.Display())
                                  .arg(m_version)
                                  .arg(kSchemaVersion));
        }
        // Another connection may have built or upgraded it while this one waited for the
        // lock: then this one upgraded nothing.
        m_upgradedFrom = found < kSchemaVersion ? found : 0;
        if (found < kSchemaVersion) {
            ArchiveTrail(*this).Append(
                Identity(QString()), ArchiveTrail::kSchemaUpgraded, QStringLiteral("archive"),
                found == 0 ? QString() : QString::number(found), QString::number(kSchemaVersion));
        }
    });
    if (!m_error.isEmpty()) {
        m_upgradedFrom = 0;
        m_folded = 0;
        // insufficient_privilege: a role that may write records but is not the tables' owner
        // cannot add tables or columns.
        if (IsPostgres() && m_lastError.nativeErrorCode() == QLatin1String("42501")) {
            throw MervexError(LoadResString(1839)
                                  .arg(m_target.Display())
                                  .arg(kSchemaVersion)
                                  .arg(m_role, Reason(m_lastError)));
        }
        throw MervexError(m_error);
    }
}

QString ArchiveDatabase::SqlType(const char* kind) const {
    const QLatin1String k(kind);
    if (k == QLatin1String("id")) {
        return IsPostgres() ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                            : QStringLiteral("INTEGER PRIMARY KEY");
    }
    if (k == QLatin1String("ref")) {
        return IsPostgres() ? QStringLiteral("BIGINT") : QStringLiteral("INTEGER");
    }
    if (k == QLatin1String("time")) {
        return IsPostgres() ? QStringLiteral("TIMESTAMP") : QStringLiteral("INTEGER");
    }
    return IsPostgres() ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL");
}

void ArchiveDatabase::CreateSchema() {
    const QString id = SqlType("id");
    const QString ref = SqlType("ref");
    const QString time = SqlType("time");
    // A meter's records are read with its table layout: `column_kinds` lists the kind of
    // each column (0 whole number, 1 decimal number, 2 text), e.g. "0,2,2,0,1,2,2,2,2,2".
    Exec(QStringLiteral("CREATE TABLE meters (id %1, model TEXT NOT NULL, "
                        "serial_number TEXT NOT NULL, column_kinds TEXT NOT NULL, "
                        "UNIQUE (model, serial_number))")
             .arg(id));
    Exec(QStringLiteral("CREATE TABLE imports (id %1, meter_id %2 NOT NULL REFERENCES meters(id), "
                        "user_name TEXT NOT NULL, imported_at %3 NOT NULL, source_file TEXT, "
                        "archived_at %3 NOT NULL, record_count INTEGER NOT NULL, "
                        "added_count INTEGER NOT NULL)")
             .arg(id, ref, time));
    CreateRecords(QStringLiteral("records"));
    Exec(QStringLiteral("CREATE TABLE archive_schema (version INTEGER NOT NULL)"));
    Exec(QStringLiteral("INSERT INTO archive_schema (version) VALUES (2)"));
    m_version = 2;
}

void ArchiveDatabase::CreateRecords(const QString& table) {
    // The record line as the meter sent it holds every field's text (units, states,
    // dilution, ...); the columns beside it are what the queries filter on and the numbers
    // a statistics program wants. A meter measures a record once: its key is the SHA-256 of
    // the line, which holds the record's own number, date and time. `measured_at` is the
    // meter's wall clock, what its users read and filter by; `measured_utc` the instant it
    // names, which orders records across daylight-saving changes and zones.
    const QString real = SqlType("real");
    const QString time = SqlType("time");
    Exec(QStringLiteral("CREATE TABLE %1 (id %2, import_id %3 NOT NULL REFERENCES imports(id), "
                        "meter_id %3 NOT NULL REFERENCES meters(id), record_key TEXT NOT NULL, "
                        "record_number INTEGER, measured_at %4, measured_utc %4, "
                        "program_number INTEGER, "
                        "sample_id TEXT, sample_id_folded TEXT, citation TEXT, value1 %5, "
                        "value2 %5, "
                        "calibrated_at %4, "
                        "raw_line TEXT NOT NULL, "
                        "CONSTRAINT records_once UNIQUE (meter_id, record_key))")
             .arg(table, SqlType("id"), SqlType("ref"), time, real));
    Exec(QStringLiteral("CREATE INDEX records_time ON %1 (measured_utc, meter_id)").arg(table));
    Exec(QStringLiteral("CREATE INDEX records_program ON %1 (program_number, measured_utc)")
             .arg(table));
}

qint64 ArchiveDatabase::CountRecords(const QString& table) {
    QSqlQuery count = Prepare(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    Exec(count);
    count.next();
    return count.value(0).toLongLong();
}

void ArchiveDatabase::UpgradeTo2() {
    // Version 1 kept "each record once" in the program only: the records move into a table
    // whose key says it, and what slipped through is folded into its first copy.
    Exec(QStringLiteral("ALTER TABLE records RENAME TO records_v1"));
    Exec(QStringLiteral("DROP INDEX records_time"));
    Exec(QStringLiteral("DROP INDEX records_program"));
    FillNewColumns();
    ArchivedAtToUtc();
    CreateRecords(QStringLiteral("records"));
    const QString columns = QStringLiteral(
        "id, import_id, meter_id, record_key, record_number, measured_at, measured_utc, "
        "program_number, "
        "sample_id, sample_id_folded, citation, value1, value2, calibrated_at, raw_line");
    // In the order they were archived, so that the first copy of a record stays.
    Exec(QStringLiteral("INSERT INTO records (%1) SELECT %1 FROM records_v1 WHERE 1 = 1 "
                        "ORDER BY id ON CONFLICT (meter_id, record_key) DO NOTHING")
             .arg(columns));
    // A document opened from the archive named its meters together ("S1, S2") or by a
    // placeholder, and archiving it again filed every record a second time under that name.
    const QString placeholder =
        QStringLiteral("(%1.serial_number IN ('', '*') OR %1.serial_number LIKE '%, %')");
    Exec(QStringLiteral("CREATE INDEX records_upgrade_key ON records (record_key)"));
    Exec(QStringLiteral("DELETE FROM records WHERE id IN (SELECT r.id FROM records r "
                        "JOIN meters m ON m.id = r.meter_id WHERE %1 AND EXISTS (SELECT 1 "
                        "FROM records o JOIN meters om ON om.id = o.meter_id "
                        "WHERE o.record_key = r.record_key AND om.model = m.model AND NOT %2))")
             .arg(placeholder.arg(QStringLiteral("m")), placeholder.arg(QStringLiteral("om"))));
    Exec(QStringLiteral("DROP INDEX records_upgrade_key"));
    m_folded = CountRecords(QStringLiteral("records_v1")) - CountRecords(QStringLiteral("records"));
    Exec(QStringLiteral("DROP TABLE records_v1"));
    if (IsPostgres()) {
        // The copied ids were given explicitly: new records continue after them.
        Exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('records', 'id'), "
                            "(SELECT COALESCE(MAX(id), 0) + 1 FROM records), false)"));
    }
    Exec(QStringLiteral("UPDATE archive_schema SET version = 2"));
    m_version = 2;
}

void ArchiveDatabase::UpgradeTo3() {
    // Quality control: control samples and limit values per program, each a list of
    // versions from a date on. A new lot or new limits add a row; none is ever overwritten.
    const QString id = SqlType("id");
    const QString ref = SqlType("ref");
    const QString time = SqlType("time");
    const QString real = SqlType("real");
    Exec(QStringLiteral("CREATE TABLE qc_controls (id %1, name TEXT NOT NULL UNIQUE, "
                        "created_at %2 NOT NULL, created_by TEXT NOT NULL)")
             .arg(id, time));
    // `valid_from` is a date as "YYYY-MM-DD", which both engines compare alike; `rules`
    // the codes joined by ",", e.g. "1-2s,1-3s,2-2s,R-4s,4-1s,10x".
    Exec(QStringLiteral(
             "CREATE TABLE qc_versions (id %1, control_id %2 NOT NULL REFERENCES "
             "qc_controls(id), "
             "valid_from TEXT NOT NULL, created_at %3 NOT NULL, created_by TEXT NOT NULL, "
             "program_number INTEGER, citation TEXT, "
             "match_kind TEXT NOT NULL CHECK (match_kind IN ('equals', 'prefix')), "
             "match_text TEXT NOT NULL, target %4 NOT NULL, sd %4 NOT NULL CHECK (sd > 0), "
             "unit TEXT, rules TEXT NOT NULL)")
             .arg(id, ref, time, real));
    Exec(QStringLiteral(
             "CREATE TABLE limit_versions (id %1, program_number INTEGER NOT NULL, "
             "valid_from TEXT NOT NULL, created_at %2 NOT NULL, created_by TEXT NOT NULL, "
             "lower_limit %3, upper_limit %3, unit TEXT, "
             "CHECK (lower_limit IS NOT NULL OR upper_limit IS NOT NULL), "
             "CHECK (lower_limit IS NULL OR upper_limit IS NULL OR lower_limit <= upper_limit))")
             .arg(id, time, real));
    // The first value's text and state are what quality control reads of every point; kept
    // beside the line so that reading a control's history splits no line.
    Exec(QStringLiteral("ALTER TABLE records ADD COLUMN value1_text TEXT"));
    Exec(QStringLiteral("ALTER TABLE records ADD COLUMN state1 TEXT"));
    FillFirstValueColumns();
    Exec(QStringLiteral("UPDATE archive_schema SET version = 3"));
    m_version = 3;
}

void ArchiveDatabase::UpgradeTo4() {
    CreateTraceTables();
    ArchiveChain(*this).ChainStoredImports();
    // Last: from here on no row of these tables can be changed or removed, the upgrade's
    // own included.
    CreateAppendOnlyTriggers();
    Exec(QStringLiteral("UPDATE archive_schema SET version = 4"));
    m_version = 4;
}

void ArchiveDatabase::CreateTraceTables() {
    const QString id = SqlType("id");
    const QString ref = SqlType("ref");
    const QString time = SqlType("time");
    // Who wrote a row, beyond the login name anyone can type: NULL on rows written before.
    for (const char* table : {"imports", "qc_controls", "qc_versions", "limit_versions"}) {
        for (const char* column : {"os_account", "host_name", "program_version", "db_role"}) {
            Exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT")
                     .arg(QLatin1String(table), QLatin1String(column)));
        }
    }
    const QString identity = QStringLiteral(
        "user_name TEXT NOT NULL, os_account TEXT NOT NULL, host_name TEXT NOT NULL, "
        "program_version TEXT NOT NULL, db_role TEXT");
    // An import row is written before its records and never changed: what it brought and
    // its place in the chain follow its records in a row of their own.
    Exec(QStringLiteral("CREATE TABLE import_results (id %1, import_id %2 NOT NULL UNIQUE "
                        "REFERENCES imports(id), record_count INTEGER NOT NULL, "
                        "added_count INTEGER NOT NULL, digest TEXT NOT NULL)")
             .arg(id, ref));
    // A record's validity is its latest row here; none: valid.
    Exec(QStringLiteral("CREATE TABLE record_states (id %1, record_id %2 NOT NULL REFERENCES "
                        "records(id), valid INTEGER NOT NULL CHECK (valid IN (0, 1)), "
                        "reason TEXT NOT NULL, changed_at %3 NOT NULL, %4)")
             .arg(id, ref, time, identity));
    Exec(QStringLiteral("CREATE INDEX record_states_record ON record_states (record_id, id)"));
    Exec(QStringLiteral("CREATE TABLE import_reviews (id %1, import_id %2 NOT NULL REFERENCES "
                        "imports(id), reviewed_at %3 NOT NULL, comment TEXT, %4)")
             .arg(id, ref, time, identity));
    Exec(QStringLiteral("CREATE INDEX import_reviews_import ON import_reviews (import_id)"));
    Exec(QStringLiteral("CREATE TABLE audit_trail (id %1, event_at %2 NOT NULL, %3, "
                        "action TEXT NOT NULL, object TEXT NOT NULL, old_value TEXT, "
                        "new_value TEXT, reason TEXT, digest TEXT NOT NULL)")
             .arg(id, time, identity));
    Exec(QStringLiteral("CREATE INDEX audit_trail_time ON audit_trail (event_at)"));
}

void ArchiveDatabase::CreateAppendOnlyTriggers() {
    static const char* const tables[] = {
        "meters",         "imports",     "import_results", "records",        "record_states",
        "import_reviews", "qc_controls", "qc_versions",    "limit_versions", "audit_trail"};
    if (IsPostgres()) {
        Exec(QStringLiteral(
            "CREATE FUNCTION mervex_append_only() RETURNS trigger LANGUAGE plpgsql AS $$ "
            "BEGIN RAISE EXCEPTION 'the archive table % is append-only: % refused', "
            "TG_TABLE_NAME, TG_OP; END $$"));
    }
    for (const char* name : tables) {
        const QLatin1String table(name);
        if (IsPostgres()) {
            Exec(QStringLiteral("CREATE TRIGGER %1_append_only BEFORE UPDATE OR DELETE ON %1 "
                                "FOR EACH ROW EXECUTE FUNCTION mervex_append_only()")
                     .arg(table));
            Exec(QStringLiteral("CREATE TRIGGER %1_no_truncate BEFORE TRUNCATE ON %1 "
                                "FOR EACH STATEMENT EXECUTE FUNCTION mervex_append_only()")
                     .arg(table));
            continue;
        }
        for (const char* operation : {"UPDATE", "DELETE"}) {
            Exec(QStringLiteral("CREATE TRIGGER %1_no_%2 BEFORE %3 ON %1 BEGIN SELECT "
                                "RAISE(ABORT, 'the archive table %1 is append-only: %3 "
                                "refused'); END")
                     .arg(table, QString::fromLatin1(operation).toLower(),
                          QLatin1String(operation)));
        }
    }
}

void ArchiveDatabase::FillNewColumns() {
    for (const char* column : {"record_key TEXT", "sample_id_folded TEXT", "citation TEXT"}) {
        Exec(QStringLiteral("ALTER TABLE records_v1 ADD COLUMN %1").arg(QLatin1String(column)));
    }
    Exec(QStringLiteral("ALTER TABLE records_v1 ADD COLUMN measured_utc %1").arg(SqlType("time")));
    QSqlQuery update = Prepare(
        QStringLiteral("UPDATE records_v1 SET record_key = ?, sample_id_folded = ?, citation = ?, "
                       "measured_utc = ? WHERE id = ?"));
    ForEachRecord(
        QStringLiteral("records_v1"),
        [&](qint64 id, const QString& line, const ArchiveRecord& r, const QString& measured) {
            update.bindValue(0, ArchiveRecord::KeyOf(line));
            update.bindValue(1, TextValue(ArchiveRecord::Folded(r.sampleId)));
            update.bindValue(2, TextValue(r.citation));
            update.bindValue(3, InstantValue(StoredTime(measured)));
            update.bindValue(4, id);
            Exec(update);
        });
}

void ArchiveDatabase::FillFirstValueColumns() {
    QSqlQuery update =
        Prepare(QStringLiteral("UPDATE records SET value1_text = ?, state1 = ? WHERE id = ?"));
    ForEachRecord(QStringLiteral("records"),
                  [&](qint64 id, const QString&, const ArchiveRecord& r, const QString&) {
                      update.bindValue(0, TextValue(r.value1Text));
                      update.bindValue(1, TextValue(r.state1));
                      update.bindValue(2, id);
                      Exec(update);
                  });
}

void ArchiveDatabase::ForEachRecord(
    const QString& table,
    const std::function<void(qint64, const QString&, const ArchiveRecord&, const QString&)>&
        visit) {
    QHash<QString, RecordLayout> layouts;
    // In slices by id: a cursor left open over a table being updated sees its own changes.
    qint64 last = -1;
    for (;;) {
        QSqlQuery slice = Prepare(
            QStringLiteral("SELECT r.id, r.raw_line, m.column_kinds, %1 FROM %2 r "
                           "JOIN meters m ON m.id = r.meter_id WHERE r.id > ? ORDER BY r.id "
                           "LIMIT 5000")
                .arg(TimeText(QStringLiteral("r.measured_at")), table));
        slice.addBindValue(last);
        Exec(slice);
        QList<std::tuple<qint64, QString, QString, QString>> rows;
        while (slice.next()) {
            rows.append({slice.value(0).toLongLong(), slice.value(1).toString(),
                         slice.value(2).toString(), slice.value(3).toString()});
        }
        if (rows.isEmpty()) {
            return;
        }
        for (const auto& [id, line, kinds, measured] : rows) {
            visit(id, line, ArchiveRecord::FromLine(line, ArchiveRecord::LayoutOf(kinds, layouts)),
                  measured);
        }
        last = std::get<0>(rows.last());
    }
}

void ArchiveDatabase::ArchivedAtToUtc() {
    // Version 1 kept the PC's wall clock; a pull "archived since" must not see the hour a
    // clock is set back twice. The PCs' zone is the best knowledge of it there is.
    QSqlQuery select = Prepare(
        QStringLiteral("SELECT id, %1 FROM imports").arg(TimeText(QStringLiteral("archived_at"))));
    Exec(select);
    QList<std::pair<qint64, QString>> rows;
    while (select.next()) {
        rows.append({select.value(0).toLongLong(), select.value(1).toString()});
    }
    QSqlQuery update = Prepare(QStringLiteral("UPDATE imports SET archived_at = ? WHERE id = ?"));
    for (const auto& [id, archived] : rows) {
        const std::optional<QDateTime> wallClock = StoredTime(archived);
        if (!wallClock) {
            continue;
        }
        update.bindValue(
            0, TimeValue(ArchiveRecord::InstantOf(*wallClock, QTimeZone::systemTimeZone())));
        update.bindValue(1, id);
        Exec(update);
    }
}

#pragma once

#include <QList>
#include <QString>
#include <algorithm>
#include <optional>
#include <utility>

class CIni;

// Where the measurement archive lives: an SQLite file, or a PostgreSQL database named by
// postgres[ql]://[USER@][HOST][:PORT]/DBNAME[?PARAMETER=VALUE&...]. The parameters are the
// server's client library's own (sslmode, sslrootcert, connect_timeout, application_name…)
// and reach it as written. The password is never part of it: the client library finds it in
// its usual places (~/.pgpass, PGPASSWORD), so Settings.ini never holds a secret.
struct ArchiveTarget {
    enum class Engine { Sqlite, Postgres };

    Engine engine = Engine::Sqlite;
    QString path; // SQLite file
    QString user, host, databaseName;
    int port = 5432;
    QList<std::pair<QString, QString>> parameters; // the address's query, in its order

    // The file path, or the address (never with a password), for messages and `archive info`.
    QString Display() const;
    // The parameters as the database driver passes them on to the client library, after the
    // program's own connection time-out and TCP keepalives (a parameter of the address
    // overrides them).
    QString ConnectOptions(int connectSeconds) const;

    // A file path (a relative one is taken in the user's data folder) or a postgres:// or
    // postgresql:// address. Nothing for an address that cannot be used as written: then
    // `error`, when given, receives why, in the user's language.
    static std::optional<ArchiveTarget> Parse(const QString& text, QString* error = nullptr);
    static ArchiveTarget File(const QString& path);
    // The per-user default: archive.sqlite in the program's data folder.
    static ArchiveTarget DefaultFile();
};

// How long a PostgreSQL archive may keep the program waiting, in seconds: for a row or lock
// another PC holds (LockTimeout=), for one statement of a write (StatementTimeout=). Reads
// that stream their results have no limit of their own.
struct ArchiveTimeouts {
    int lockSeconds = 10;
    int statementSeconds = 60;

    // The program's own limit on one call into the database, past the server's: a backend
    // that stopped answering fires none of the server's time-outs.
    qint64 DeadlineMs() const {
        return (qint64(std::max(lockSeconds, statementSeconds)) + 5) * 1000;
    }
};

// The [Archive] section of Settings.ini.
struct ArchiveSettings {
    QString database; // Database=: empty for the default file
    bool autoArchive = true;
    QString timeZone; // TimeZone=: the zone the meters' clocks show; empty for this PC's
    ArchiveTimeouts timeouts;
    // AllowSelfReview=1: the account that archived an import may also review it (a lab of
    // one person); otherwise another account must.
    bool allowSelfReview = false;

    static ArchiveSettings Read(CIni& ini);
};

#pragma once

#include <QString>
#include <optional>

class CIni;

// Where the measurement archive lives: an SQLite file, or a PostgreSQL database named by
// postgresql://USER@HOST[:PORT]/DBNAME. The password is never part of it: the server's
// client library finds it in its usual places (~/.pgpass, PGPASSWORD).
struct ArchiveTarget {
    enum class Engine { Sqlite, Postgres };

    Engine engine = Engine::Sqlite;
    QString path; // SQLite file
    QString user, host, databaseName;
    int port = 5432;

    // The file path, or the address without password, for messages and `archive info`.
    QString Display() const;

    // A file path or a postgresql:// address; nothing for an address that names no host or
    // database, or that carries a password.
    static std::optional<ArchiveTarget> Parse(const QString& text);
    static ArchiveTarget File(const QString& path);
    // The per-user default: archive.sqlite in the program's data folder.
    static ArchiveTarget DefaultFile();
};

// The [Archive] section of Settings.ini.
struct ArchiveSettings {
    QString database; // Database=: empty for the default file
    bool autoArchive = true;

    static ArchiveSettings Read(CIni& ini);
};

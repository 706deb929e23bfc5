#pragma once

#include <QString>
#include <utility>

class ArchiveDatabase;

// A consistent copy of an SQLite archive, taken while other programs may be writing it:
// SQLite writes the archive as one read transaction into a new file beside the chosen one,
// which replaces that file only once it is complete, on disk and checked, so that an earlier
// backup of the same name survives any failure. The copy is the user's data: only its owner
// may read it. A server's archive is backed up on the server with its own tool; the message
// says how.
class ArchiveBackup {
public:
    // `userName`: the login name the journal records for the backup.
    explicit ArchiveBackup(ArchiveDatabase& db, QString userName = {})
        : m_db(db), m_user(std::move(userName)) {}

    // False with Error() when no complete copy was written. A copy written is entered in the
    // archive's journal when the archive may be written.
    bool WriteTo(const QString& file);
    // The records in the copy written.
    qint64 Records() const { return m_records; }
    const QString& Error() const { return m_error; }

private:
    bool Fail(const QString& file, const QString& reason);
    // Reads the copy back on a connection of its own: its integrity and its records.
    bool Check(const QString& copy, QString& reason);

    ArchiveDatabase& m_db;
    QString m_user;
    qint64 m_records = 0;
    QString m_error;
};

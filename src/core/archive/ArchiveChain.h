#pragma once

#include "archive/ArchiveIdentity.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class ArchiveDatabase;

struct ArchiveRecord;

// What one import stored, once its records are in: the chain closes it.
struct ImportClosing {
    // An added record: its id and where its RowBytes lie in `bytes`.
    struct Row {
        qint64 id;
        qsizetype from, size;
    };
    qint64 importId = 0;
    qint64 records = 0, added = 0;
    QByteArray bytes;      // the RowBytes of the records, one after another
    std::vector<Row> rows; // the records the import added, in any order
    QString meter;         // model and serial number, for the audit trail
    ArchiveIdentity who;
};

// What `archive verify` found: intact, or the first import (in the chain's order) whose
// records or digest do not match, and the first broken audit event.
struct ChainReport {
    qint64 imports = 0, records = 0, events = 0;
    qint64 badImport = 0;        // 0: none
    qint64 badEvent = 0;         // 0: none
    QString importWhy, eventWhy; // what is wrong with each, for the user
    bool Intact() const { return badImport == 0 && badEvent == 0; }
};

// The archive's tamper evidence. Each import's digest is the SHA-256 of the digest of the
// import before it and the records it added, in id order, each by its key and the fields
// stored beside its line; a record altered,
// moved or removed behind the program's back (with the append-only triggers dropped, or in
// the SQLite file with another tool) no longer gives its import's digest, and an import
// removed breaks the link of the next.
class ArchiveChain {
public:
    explicit ArchiveChain(ArchiveDatabase& database) : m_db(database) {}

    // The digest following `previous` (empty for the first import) of `import`'s rows, in id
    // order; sorts them.
    static QString Digest(const QString& previous, ImportClosing& import);
    // A record as its import's digest covers it: its key and the fields the archive stores
    // beside its line, which queries, statistics and reports read; numbers and times as
    // their bytes, texts as UTF-8.
    static QByteArray RowBytes(const QString& key, const ArchiveRecord& record);
    // The same appended to `bytes`: an import's records are held in one buffer until the
    // chain closes it, not in an allocation each.
    static void AppendRow(QByteArray& bytes, const QString& key, const ArchiveRecord& record);

    // Inside ArchiveDatabase::Write, once the imports' records are in: takes the chain lock
    // and writes each import's counts and digest, and its audit event.
    void Close(QList<ImportClosing> imports);
    // Inside the upgrade: chains the imports the archive held before it had a chain.
    void ChainStoredImports();
    // Recomputes both chains and each record's fields from its line; false with the
    // database's Error() when the archive could not be read.
    bool Verify(ChainReport& report);

private:
    QString LastDigest();
    // Checks the imports' chain; the imports it holds.
    QSet<qint64> VerifyRecords(ChainReport& report);
    void VerifyTrail(ChainReport& report, const QSet<qint64>& chained);

    ArchiveDatabase& m_db;
};

#pragma once

#include "archive/ArchiveChain.h"
#include "data/MValSet.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariantList>
#include <vector>

class ArchiveDatabase;
struct ArchiveIdentity;
struct ArchiveRecord;
class CDevice;
class QSqlQuery;
class RecordLayout;

// What adding one import did: its records, those new to the archive, those it refused (each
// reason names the record) and those it already held (the same meter model, serial number
// and record line).
struct ArchiveCounts {
    qint64 records = 0;
    qint64 added = 0;
    QStringList refused;
    QList<qint64> imports; // the import rows kept: those that brought new records
    qint64 present() const { return records - added - refused.size(); }
};

// Adds imports to the archive, each in one transaction: all of its new records or none.
// Each meter that receives records gets one import row; a dataset whose serial number is a
// placeholder or names several meters, and whose records do not say their own meters, is
// refused: the archive would file them under a meter that does not exist.
class ArchiveWriter {
public:
    // On: each import is closed in the archive's digest chain and its audit trail. Off: the
    // records and their import row only, as an archive without that evidence would take
    // them; what the benchmark measures its cost against, never the program's way.
    enum class Tracing { On, Off };

    explicit ArchiveWriter(ArchiveDatabase& database, Tracing tracing = Tracing::On)
        : m_db(database), m_tracing(tracing) {}

    // `layout`: the record layout of the dataset's meter, whose column kinds the archive
    // keeps with the meter. `sourceFile` is the dataset file the records were read from,
    // empty for an import from the meter. False with the database's Error() when the archive
    // could not take it.
    bool Add(const MValSet& set, const RecordLayout& layout, const QString& sourceFile,
             ArchiveCounts& counts);

    // The same with the table layout of the dataset's meter model.
    bool Add(const CDevice& device, const MValSet& set, const QString& sourceFile,
             ArchiveCounts& counts);

    // A serial number of one meter: not empty, not "*", not several joined by ", ".
    static bool NamesOneMeter(const QString& serial);

private:
    // The records of one meter and user.
    struct Portion {
        RecordOrigin origin;
        QList<QStringView> lines;
    };
    // The dataset's records by meter and user; a record no archive can hold goes to `refused`
    // instead, with its reason.
    static QList<Portion> PortionsOf(const MValSet& set, QStringList& refused);
    // How the writer learns which records an INSERT took, with their ids, which the digest
    // chain orders them by. Given: one writer at a time holds an SQLite archive, so the
    // program numbers the rows itself above the highest id stored. Returned: PostgreSQL's
    // writers share one sequence, and the statement hands back the ids it drew. Unneeded:
    // without the chain, their count is enough.
    enum class Ids { Unneeded, Given, Returned };
    static QString InsertSql(qsizetype rows, Ids ids);
    // What one INSERT was sent, beside its bound values: where each record's RowBytes end in
    // the import's bytes, which they begin at `from`; each record's key when the ids are
    // returned, the ids it was given (from `firstId` up to before `nextId`) otherwise.
    struct Batch {
        QStringList keys;
        std::vector<qsizetype> ends;
        qsizetype from = 0;
        qint64 firstId = 0, nextId = 0;
        ImportClosing::Row Row(qsizetype at, qint64 id) const {
            const qsizetype begin = at == 0 ? from : ends[std::size_t(at) - 1];
            return {id, begin, ends[std::size_t(at)] - begin};
        }
    };
    qint64 HighestRecordId();
    // Binds `lines` to `insert` (numbered from `sent.nextId` when the ids are given) and runs it.
    void Send(QSqlQuery& insert, const QList<QStringView>& lines, const RecordLayout& layout,
              Ids ids, qint64 meterId, Batch& sent, ImportClosing& closing);
    // The records of `sent` the database took, into `closing`; their count alone when their
    // ids are unneeded.
    void Take(QSqlQuery& insert, Ids ids, const Batch& sent, ImportClosing& closing);
    void TakeReturned(QSqlQuery& insert, const Batch& sent, ImportClosing& closing);
    void AddPortion(const MValSet& set, const Portion& portion, const RecordLayout& layout,
                    const QString& sourceFile, ArchiveCounts& counts,
                    QList<ImportClosing>& closings);
    qint64 InsertImport(const MValSet& set, const ArchiveIdentity& who, qint64 meterId,
                        const QString& sourceFile);
    // The records one INSERT takes: a few hundred, within the engine's limit on bound values.
    qsizetype RowsPerStatement() const;
    // A record's values in the order of the INSERT's columns.
    QVariantList RowOf(const ArchiveRecord& record, const QString& key, qint64 importId,
                       qint64 meterId) const;
    qint64 MeterId(const QString& model, const QString& serial, const QList<int>& kinds);

    ArchiveDatabase& m_db;
    Tracing m_tracing;
};

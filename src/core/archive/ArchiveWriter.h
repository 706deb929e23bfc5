#pragma once

#include <QList>
#include <QString>

class ArchiveDatabase;
class CDevice;
class RecordLayout;
struct MValSet;

// What adding one import did: its records, those new to the archive and those it already
// held (the same meter model, serial number and record line).
struct ArchiveCounts {
    qint64 records = 0;
    qint64 added = 0;
    qint64 present() const { return records - added; }
};

// Adds imports to the archive, each in one transaction: all of its new records or none.
class ArchiveWriter {
public:
    explicit ArchiveWriter(ArchiveDatabase& database) : m_db(database) {}

    // `layout`: the record layout of the dataset's meter, whose column kinds the archive
    // keeps with the meter. `sourceFile` is the dataset file the records were read from,
    // empty for an import from the meter. False with the database's Error() when the archive
    // could not take it.
    bool Add(const MValSet& set, const RecordLayout& layout, const QString& sourceFile,
             ArchiveCounts& counts);

    // The same with the table layout of the dataset's meter model.
    bool Add(const CDevice& device, const MValSet& set, const QString& sourceFile,
             ArchiveCounts& counts);

private:
    qint64 MeterId(const QString& model, const QString& serial, const QList<int>& kinds);

    ArchiveDatabase& m_db;
};

#pragma once

#include "archive/ArchiveRecord.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

class ArchiveDatabase;
class QSqlQuery;
class RecordLayout;
struct MValSet;

// Which archived records a query returns; an empty member does not filter.
struct ArchiveFilter {
    std::optional<QDate> from, to;          // measurement dates, both included
    QString serial;                         // the meter's serial number, exactly
    std::optional<qint64> program;          // program number
    QString sampleId;                       // text contained in the sample ID, letter case ignored
    QString user;                           // who imported, exactly
    QString model;                          // meter model, exactly
    QString citation;                       // citation form of the result, e.g. "PO4-P", exactly
    std::optional<QDateTime> archivedSince; // entered the archive after this time
    bool includeInvalid = false;            // invalid records are left out unless this is set
    bool unreviewedOnly = false;            // only records of imports without a review
};

// What the archive holds, for `archive info`.
struct ArchiveTotals {
    qint64 meters = 0, imports = 0, records = 0;
};

// Reads the archive. Every filter value is bound to its statement, never written into it.
class ArchiveQuery {
public:
    explicit ArchiveQuery(ArchiveDatabase& database) : m_db(database) {}

    // The matching records in measurement order; false with the database's Error().
    bool Records(const ArchiveFilter& filter, QList<ArchivedRecord>& records);
    // The same records handed to `visit` one at a time as the database sends them, none kept:
    // a result of any size costs the memory of one record. `visit` returns false to end
    // early, which is no failure; false with the database's Error().
    bool Visit(const ArchiveFilter& filter,
               const std::function<bool(const ArchivedRecord&)>& visit);
    bool Count(const ArchiveFilter& filter, qint64& count);
    // The meter models among the matching records, in alphabetical order.
    bool Models(const ArchiveFilter& filter, QStringList& models);
    // The matching records of `filter.model` as one dataset: the serial numbers of its
    // meters and the users, each once, joined by ", "; the date of its last measurement.
    bool Dataset(const ArchiveFilter& filter, MValSet& set);
    // The same dataset of records already read (or some of them), in the order given; each
    // record keeps its meter and user (MValSet::origins), so archiving it adds nothing, and
    // its id, import and validity.
    static MValSet DatasetOf(const QString& model, const QList<ArchivedRecord>& records);
    bool Totals(ArchiveTotals& totals);

private:
    // The record in the query's current row; `layouts` keeps the layouts by the column
    // kinds stored with the meter.
    static ArchivedRecord Read(const QSqlQuery& query, QHash<QString, RecordLayout>& layouts);

    ArchiveDatabase& m_db;
};

#include "archive/ArchiveWriter.h"

#include "app/RunTimeErrors.h"
#include "archive/ArchiveChain.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecord.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordWalker.h"
#include "meter/RecordLayout.h"

#include <QDateTime>
#include <QMap>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <vector>

namespace {

// A text the archive needs (model, serial number, user): a null string would be bound as SQL
// NULL, and a meter that sends no serial number would make every import fail.
QString Given(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

// The columns of a record as ArchiveWriter inserts them, in the order of RowOf, without
// its id.
constexpr int kRecordColumns = 16;
// Rows per INSERT on PostgreSQL: a few hundred make the round trips few without making each
// statement large.
constexpr qsizetype kServerBatchRows = 500;
// On SQLite, which has no round trip to save: the driver names each placeholder and SQLite
// looks every name up in a list, so preparing a statement grows with the square of its
// values (155 ms for 500 rows, 6 ms for 100).
constexpr qsizetype kFileBatchRows = 100;

} // namespace

QString ArchiveWriter::InsertSql(qsizetype rows, Ids ids) {
    const bool given = ids == Ids::Given;
    const QString row =
        QLatin1Char('(') +
        QStringList(kRecordColumns + (given ? 1 : 0), QStringLiteral("?")).join(QLatin1Char(',')) +
        QLatin1Char(')');
    return QStringLiteral("INSERT INTO records (%1import_id, meter_id, record_key, record_number, "
                          "measured_at, measured_utc, program_number, sample_id, sample_id_folded, "
                          "citation, value1, value1_text, state1, value2, calibrated_at, raw_line) "
                          "VALUES %2 ON CONFLICT (meter_id, record_key) DO NOTHING%3")
        .arg(given ? QStringLiteral("id, ") : QString(),
             QStringList(rows, row).join(QLatin1Char(',')),
             ids == Ids::Returned ? QStringLiteral(" RETURNING id, record_key") : QString());
}

qsizetype ArchiveWriter::RowsPerStatement() const {
    return std::clamp(qsizetype(m_db.MaxBoundValues() / (kRecordColumns + 1)), qsizetype(1),
                      m_db.IsPostgres() ? kServerBatchRows : kFileBatchRows);
}

QVariantList ArchiveWriter::RowOf(const ArchiveRecord& r, const QString& key, qint64 importId,
                                  qint64 meterId) const {
    return {importId,
            meterId,
            key,
            ArchiveDatabase::OptionalValue(r.recordNumber),
            m_db.TimeValue(r.measuredAt),
            m_db.InstantValue(r.measuredAt),
            ArchiveDatabase::OptionalValue(r.programNumber),
            ArchiveDatabase::TextValue(r.sampleId),
            ArchiveDatabase::TextValue(ArchiveRecord::Folded(r.sampleId)),
            ArchiveDatabase::TextValue(r.citation),
            ArchiveDatabase::OptionalValue(r.value1),
            ArchiveDatabase::TextValue(r.value1Text),
            ArchiveDatabase::TextValue(r.state1),
            ArchiveDatabase::OptionalValue(r.value2),
            m_db.TimeValue(r.calibratedAt),
            r.rawLine};
}

qint64 ArchiveWriter::MeterId(const QString& model, const QString& serial,
                              const QList<int>& kinds) {
    QSqlQuery insert = m_db.Prepare(
        QStringLiteral("INSERT INTO meters (model, serial_number, column_kinds) VALUES (?, ?, ?) "
                       "ON CONFLICT DO NOTHING"));
    insert.addBindValue(Given(model));
    insert.addBindValue(Given(serial));
    insert.addBindValue(Given(ArchiveRecord::KindsText(kinds)));
    m_db.Exec(insert);
    QSqlQuery select =
        m_db.Prepare(QStringLiteral("SELECT id FROM meters WHERE model = ? AND serial_number = ?"));
    select.addBindValue(Given(model));
    select.addBindValue(Given(serial));
    m_db.Exec(select);
    select.next();
    return select.value(0).toLongLong();
}

bool ArchiveWriter::Add(const CDevice& device, const MValSet& set, const QString& sourceFile,
                        ArchiveCounts& counts) {
    return Add(set, ExportLayoutFor(device, set.strMeter).record, sourceFile, counts);
}

bool ArchiveWriter::NamesOneMeter(const QString& serial) {
    const QString text = serial.trimmed();
    return !text.isEmpty() && text != QLatin1String("*") && !text.contains(QLatin1String(", "));
}

QList<ArchiveWriter::Portion> ArchiveWriter::PortionsOf(const MValSet& set, QStringList& refused) {
    QList<QStringView> lines;
    RecordWalker walker(set.strMVals);
    QStringView line;
    while (walker.NextLine(line)) {
        lines << line;
    }
    if (!set.origins.isEmpty() && set.origins.size() != lines.size()) {
        throw MervexError(RunTimeText(RtError::ArchiveNoMeter).arg(set.strSerNo));
    }
    // PostgreSQL refuses a NUL in a text, and the whole import with it; SQLite would keep a
    // character most programs reading the archive take for the text's end. Alike on both:
    // that record is refused, the others are archived.
    QList<RecordOrigin> origins;
    QList<QStringView> kept;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(QChar(0))) {
            refused << RunTimeText(RtError::ArchiveNulByte).arg(i + 1);
            continue;
        }
        kept << lines[i];
        if (!set.origins.isEmpty()) {
            origins << set.origins[i];
        }
    }
    lines = kept;
    if (set.origins.isEmpty()) {
        if (!NamesOneMeter(set.strSerNo)) {
            throw MervexError(RunTimeText(RtError::ArchiveNoMeter).arg(set.strSerNo));
        }
        return {Portion{RecordOrigin{set.strSerNo, set.strUser}, lines}};
    }
    // Sorted by meter, so that writers of the same meters take their locks in one order.
    QMap<std::pair<QString, QString>, Portion> portions;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const RecordOrigin& origin = origins[i];
        if (!NamesOneMeter(origin.serial)) {
            throw MervexError(RunTimeText(RtError::ArchiveNoMeter).arg(origin.serial));
        }
        Portion& portion = portions[{origin.serial, origin.user}];
        portion.origin = origin;
        portion.lines << lines[i];
    }
    return portions.values();
}

bool ArchiveWriter::Add(const MValSet& set, const RecordLayout& layout, const QString& sourceFile,
                        ArchiveCounts& counts) {
    counts = ArchiveCounts();
    return m_db.Write([&] {
        counts = ArchiveCounts();
        const QList<Portion> portions = PortionsOf(set, counts.refused);
        counts.records = counts.refused.size();
        QList<ImportClosing> closings;
        for (const Portion& portion : portions) {
            AddPortion(set, portion, layout, sourceFile, counts, closings);
        }
        if (m_tracing == Tracing::On) {
            ArchiveChain(m_db).Close(closings);
        }
    });
}

qint64 ArchiveWriter::InsertImport(const MValSet& set, const ArchiveIdentity& who, qint64 meterId,
                                   const QString& sourceFile) {
    QSqlQuery import = m_db.Prepare(QStringLiteral(
        "INSERT INTO imports (meter_id, user_name, imported_at, source_file, archived_at, "
        "record_count, added_count, os_account, host_name, program_version, db_role) "
        "VALUES (?, ?, ?, ?, ?, 0, 0, ?, ?, ?, ?) RETURNING id"));
    import.addBindValue(meterId);
    import.addBindValue(who.userName);
    import.addBindValue(m_db.TimeValue(set.curDate));
    import.addBindValue(ArchiveDatabase::TextValue(sourceFile));
    import.addBindValue(m_db.TimeValue(QDateTime::currentDateTimeUtc()));
    import.addBindValue(who.osAccount);
    import.addBindValue(who.hostName);
    import.addBindValue(who.programVersion);
    import.addBindValue(ArchiveDatabase::TextValue(who.dbRole));
    m_db.Exec(import);
    import.next();
    return import.value(0).toLongLong();
}

qint64 ArchiveWriter::HighestRecordId() {
    QSqlQuery highest = m_db.Prepare(QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM records"));
    m_db.Exec(highest);
    highest.next();
    return highest.value(0).toLongLong();
}

void ArchiveWriter::Take(QSqlQuery& insert, Ids ids, const Batch& sent, ImportClosing& closing) {
    if (ids == Ids::Unneeded) {
        closing.added += insert.numRowsAffected();
        return;
    }
    const std::size_t before = closing.rows.size();
    if (ids == Ids::Returned) {
        TakeReturned(insert, sent, closing);
    } else if (insert.numRowsAffected() == qsizetype(sent.ends.size())) {
        for (qsizetype at = 0; at < qsizetype(sent.ends.size()); ++at) {
            closing.rows.push_back(sent.Row(at, sent.firstId + at));
        }
    } else if (insert.numRowsAffected() > 0) {
        // Some were held already: the ids this batch was given that the archive now holds
        // are the records it took.
        QSqlQuery taken =
            m_db.Prepare(QStringLiteral("SELECT id FROM records WHERE id BETWEEN ? AND ?"));
        taken.addBindValue(sent.firstId);
        taken.addBindValue(sent.nextId - 1);
        m_db.Exec(taken);
        while (taken.next()) {
            const qint64 id = taken.value(0).toLongLong();
            closing.rows.push_back(sent.Row(qsizetype(id - sent.firstId), id));
        }
    }
    closing.added = qint64(closing.rows.size());
    // A batch the archive held already keeps none of its bytes.
    if (closing.rows.size() == before) {
        closing.bytes.truncate(sent.from);
    }
}

void ArchiveWriter::TakeReturned(QSqlQuery& insert, const Batch& sent, ImportClosing& closing) {
    // The server hands the rows back in the order they were sent, less those it skipped;
    // each is still matched by its key, so that one out of that order is found, never
    // taken for its neighbour.
    qsizetype next = 0;
    while (insert.next()) {
        const QString key = insert.value(1).toString();
        qsizetype at = sent.keys.indexOf(key, next);
        if (at < 0) {
            at = sent.keys.indexOf(key);
        }
        if (at < 0) {
            // A key the statement was not given: the database answers something else.
            throw MervexError(
                RunTimeText(RtError::ArchiveFailed)
                    .arg(m_db.Target().Display(), QStringLiteral("RETURNING ") + key));
        }
        closing.rows.push_back(sent.Row(at, insert.value(0).toLongLong()));
        next = at + 1;
    }
}

void ArchiveWriter::Send(QSqlQuery& insert, const QList<QStringView>& lines,
                         const RecordLayout& layout, Ids ids, qint64 meterId, Batch& sent,
                         ImportClosing& closing) {
    sent.keys.clear();
    sent.ends.clear();
    sent.from = closing.bytes.size();
    sent.firstId = sent.nextId;
    int at = 0;
    for (const QStringView line : lines) {
        const ArchiveRecord record = ArchiveRecord::FromLine(line, layout);
        const QString key = ArchiveRecord::KeyOf(line);
        if (ids == Ids::Given) {
            insert.bindValue(at++, sent.nextId++);
        }
        for (const QVariant& value : RowOf(record, key, closing.importId, meterId)) {
            insert.bindValue(at++, value);
        }
        if (ids == Ids::Returned) {
            sent.keys << key;
        }
        if (ids != Ids::Unneeded) {
            ArchiveChain::AppendRow(closing.bytes, key, record);
            sent.ends.push_back(closing.bytes.size());
        }
    }
    m_db.Exec(insert);
    Take(insert, ids, sent, closing);
}

void ArchiveWriter::AddPortion(const MValSet& set, const Portion& portion,
                               const RecordLayout& layout, const QString& sourceFile,
                               ArchiveCounts& counts, QList<ImportClosing>& closings) {
    const qint64 meterId = MeterId(set.strMeter, portion.origin.serial, layout.Kinds());
    // Writers of one meter queue for each other: two that insert the same records in
    // different orders would otherwise wait on each other's rows until one is aborted.
    // Different meters never share a record.
    m_db.Lock(meterId);
    // An import row says what an import brought: none when it brought nothing new. Rows
    // are never removed, so one that would say nothing is not kept in the first place.
    m_db.Exec(QStringLiteral("SAVEPOINT import_portion"));
    ImportClosing closing;
    closing.who = m_db.Identity(Given(portion.origin.user));
    closing.importId = InsertImport(set, closing.who, meterId, sourceFile);
    closing.meter = set.strMeter + QLatin1Char(' ') + portion.origin.serial;
    closing.records = portion.lines.size();

    // The database keeps each record once per meter: a record it holds already is simply
    // not inserted, whatever its time (or none). Rows go in batches, one statement each, so
    // that a server across the network costs a round trip per batch, not per record.
    const Ids ids = m_tracing == Tracing::Off ? Ids::Unneeded
                    : m_db.IsPostgres()       ? Ids::Returned
                                              : Ids::Given;
    const qsizetype batch = RowsPerStatement();
    QSqlQuery full = m_db.Prepare(InsertSql(batch, ids));
    Batch sent;
    sent.nextId = ids == Ids::Given ? HighestRecordId() + 1 : 0;
    for (qsizetype first = 0; first < portion.lines.size(); first += batch) {
        const qsizetype rows = std::min(batch, portion.lines.size() - first);
        QSqlQuery tail = rows == batch ? QSqlQuery() : m_db.Prepare(InsertSql(rows, ids));
        QSqlQuery& insert = rows == batch ? full : tail;
        Send(insert, portion.lines.mid(first, rows), layout, ids, meterId, sent, closing);
    }
    counts.records += closing.records;
    counts.added += closing.added;
    if (closing.added == 0) {
        m_db.Exec(QStringLiteral("ROLLBACK TO SAVEPOINT import_portion"));
        m_db.Exec(QStringLiteral("RELEASE SAVEPOINT import_portion"));
        return;
    }
    m_db.Exec(QStringLiteral("RELEASE SAVEPOINT import_portion"));
    counts.imports.append(closing.importId);
    closings.append(std::move(closing));
}

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
#include <QHash>
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

// The columns of a record as ArchiveWriter inserts them, in the order of RowOf.
constexpr int kRecordColumns = 16;
// Rows per INSERT: a few hundred make the statements few without making each one large.
constexpr qsizetype kBatchRows = 500;

QString InsertSql(qsizetype rows, bool returning) {
    static const QString row =
        QLatin1Char('(') + QStringList(kRecordColumns, QStringLiteral("?")).join(QLatin1Char(',')) +
        QLatin1Char(')');
    return QStringLiteral(
               "INSERT INTO records (import_id, meter_id, record_key, record_number, measured_at, "
               "measured_utc, program_number, sample_id, sample_id_folded, citation, value1, "
               "value1_text, state1, value2, calibrated_at, raw_line) VALUES %1 "
               "ON CONFLICT (meter_id, record_key) DO NOTHING%2")
        .arg(QStringList(rows, row).join(QLatin1Char(',')),
             returning ? QStringLiteral(" RETURNING id, record_key") : QString());
}

} // namespace

qsizetype ArchiveWriter::RowsPerStatement() const {
    return std::clamp(qsizetype(m_db.MaxBoundValues() / kRecordColumns), qsizetype(1), kBatchRows);
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
    const qsizetype batch = RowsPerStatement();
    const bool tracing = m_tracing == Tracing::On;
    QSqlQuery full = m_db.Prepare(InsertSql(batch, tracing));
    std::vector<ArchiveRecord> records;
    QHash<QString, qsizetype> byKey;
    for (qsizetype first = 0; first < portion.lines.size(); first += batch) {
        const qsizetype rows = std::min(batch, portion.lines.size() - first);
        QSqlQuery tail = rows == batch ? QSqlQuery() : m_db.Prepare(InsertSql(rows, tracing));
        QSqlQuery& insert = rows == batch ? full : tail;
        int at = 0;
        const auto bind = [&](const ArchiveRecord& record, const QString& key) {
            for (const QVariant& value : RowOf(record, key, closing.importId, meterId)) {
                insert.bindValue(at++, value);
            }
        };
        if (!tracing) {
            for (const QStringView line : portion.lines.mid(first, rows)) {
                bind(ArchiveRecord::FromLine(line, layout), ArchiveRecord::KeyOf(line));
            }
            m_db.Exec(insert);
            closing.added += insert.numRowsAffected();
            continue;
        }
        records.clear();
        byKey.clear();
        for (const QStringView line : portion.lines.mid(first, rows)) {
            records.push_back(ArchiveRecord::FromLine(line, layout));
            const QString key = ArchiveRecord::KeyOf(line);
            byKey.insert(key, qsizetype(records.size()) - 1);
            bind(records.back(), key);
        }
        m_db.Exec(insert);
        // The rows the database took, which the import's digest covers.
        while (insert.next()) {
            const QString key = insert.value(1).toString();
            closing.rows.append({insert.value(0).toLongLong(),
                                 ArchiveChain::RowBytes(key, records[size_t(byKey.value(key))])});
        }
        closing.added = closing.rows.size();
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

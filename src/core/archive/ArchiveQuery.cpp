#include "archive/ArchiveQuery.h"

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveExtract.h"
#include "archive/RecordValidity.h"
#include "data/MValSet.h"
#include "meter/RecordLayout.h"

#include <QHash>
#include <QScopeGuard>
#include <QSqlQuery>

namespace {

// The page cache of a read, in KiB: enough for SQLite to sort a large result in few steps.
constexpr int kReadCacheKiB = 16384;
constexpr qint64 kDaySeconds = 24 * 3600;

// The WHERE clause of a filter: fixed fragments with placeholders, and their values.
struct Where {
    QString sql;
    QVariantList values;

    void Add(const char* fragment, const QVariant& value) {
        Add(fragment);
        values.append(value);
    }
    void Add(const char* fragment) {
        sql += sql.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
        sql += QLatin1String(fragment);
    }
};

// LIKE pattern matching `text` anywhere, with its own wildcards taken literally.
QString ContainsPattern(const QString& text) {
    return QLatin1Char('%') + ArchiveRecord::LikeEscaped(ArchiveRecord::Folded(text)) +
           QLatin1Char('%');
}

Where WhereOf(const ArchiveDatabase& db, const ArchiveFilter& f) {
    Where where;
    const QTime midnight(0, 0);
    // Dates are the meters' own (their wall clock); the instant, which the records are
    // indexed by, lies within a day of it in any zone, so it narrows the search first.
    if (f.from) {
        const QDateTime start(*f.from, midnight, Qt::UTC);
        where.Add("r.measured_utc >= ?", db.TimeValue(start.addSecs(-kDaySeconds)));
        where.Add("r.measured_at >= ?", db.TimeValue(start));
    }
    if (f.to) {
        const QDateTime end(f.to->addDays(1), midnight, Qt::UTC);
        where.Add("r.measured_utc < ?", db.TimeValue(end.addSecs(kDaySeconds)));
        where.Add("r.measured_at < ?", db.TimeValue(end));
    }
    if (!f.serial.isEmpty()) {
        where.Add("m.serial_number = ?", f.serial);
    }
    if (f.program) {
        where.Add("r.program_number = ?", *f.program);
    }
    if (!f.sampleId.isEmpty()) {
        where.Add("r.sample_id_folded LIKE ? ESCAPE '!'", ContainsPattern(f.sampleId));
    }
    if (!f.user.isEmpty()) {
        where.Add("i.user_name = ?", f.user);
    }
    if (!f.model.isEmpty()) {
        where.Add("m.model = ?", f.model);
    }
    if (!f.citation.isEmpty()) {
        where.Add("r.citation = ?", f.citation);
    }
    if (f.archivedSince) {
        where.Add("i.archived_at > ?", db.TimeValue(f.archivedSince->toUTC()));
    }
    if (!f.includeInvalid) {
        where.Add("COALESCE(st.valid, 1) = 1"); // no state: valid
    }
    if (f.unreviewedOnly) {
        where.Add("NOT EXISTS (SELECT 1 FROM import_reviews v WHERE v.import_id = r.import_id)");
    }
    return where;
}

// A record's state is the latest row of record_states: joined on the states' index, which
// costs a probe per record while few records were ever set aside.
const QString kJoins = QStringLiteral(" FROM records r JOIN meters m ON m.id = r.meter_id "
                                      "JOIN imports i ON i.id = r.import_id") +
                       RecordValidity::StateJoin(QStringLiteral("r"), QStringLiteral("st"));

QString Text(const QSqlQuery& q, int column) {
    return q.value(column).toString();
}

// A number column: nothing for NULL (the engines disagree on its type), else a whole or a
// real number.
std::optional<qint64> Whole(const QSqlQuery& q, int column) {
    const QVariant v = q.value(column);
    return v.isNull() ? std::nullopt : std::optional<qint64>(v.toLongLong());
}

std::optional<double> Real(const QSqlQuery& q, int column) {
    const QVariant v = q.value(column);
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}

std::optional<QDateTime> Time(const QSqlQuery& q, int column) {
    return ArchiveDatabase::StoredTime(Text(q, column));
}

} // namespace

bool ArchiveQuery::Records(const ArchiveFilter& filter, QList<ArchivedRecord>& records) {
    records.clear();
    const bool read = Visit(filter, [&](const ArchivedRecord& record) {
        records.append(record);
        return true;
    });
    if (!read) {
        records.clear();
    }
    return read;
}

bool ArchiveQuery::Visit(const ArchiveFilter& filter,
                         const std::function<bool(const ArchivedRecord&)>& visit) {
    return m_db.Read([&] {
        const Where where = WhereOf(m_db, filter);
        // Forward only (Prepare's queries are): the driver hands over the rows as they are
        // read instead of first fetching the whole result.
        QSqlQuery q =
            m_db.Prepare(QStringLiteral("SELECT m.model, m.serial_number, i.user_name, %1, %2, "
                                        "r.record_number, r.program_number, r.value1, r.value2, "
                                        "m.column_kinds, r.raw_line, r.id, %3, r.import_id, "
                                        "st.valid, st.reason")
                             .arg(m_db.TimeText(QStringLiteral("r.measured_at")),
                                  m_db.TimeText(QStringLiteral("r.calibrated_at")),
                                  m_db.TimeText(QStringLiteral("i.archived_at"))) +
                         kJoins + where.sql +
                         QStringLiteral(" ORDER BY r.measured_utc IS NULL, r.measured_utc, r.id"));
        for (const QVariant& value : where.values) {
            q.addBindValue(value);
        }
        // SQLite sorts a large result in memory up to the page cache's size, which the
        // archive sets large for its writes: a read of the whole archive keeps to a small one
        // while it runs.
        QString cache;
        if (!m_db.IsPostgres()) {
            QSqlQuery size = m_db.Prepare(QStringLiteral("PRAGMA cache_size"));
            m_db.Exec(size);
            cache = size.next() ? size.value(0).toString() : QString();
            m_db.Exec(QStringLiteral("PRAGMA cache_size=-%1").arg(kReadCacheKiB));
        }
        const auto restore = qScopeGuard([&] {
            if (!cache.isEmpty()) {
                QSqlQuery(m_db.Connection())
                    .exec(QStringLiteral("PRAGMA cache_size=%1").arg(cache));
            }
        });
        m_db.Exec(q);
        QHash<QString, RecordLayout> layouts;
        while (q.next()) {
            if (!visit(Read(q, layouts))) {
                break;
            }
        }
        q.finish();
    });
}

ArchivedRecord ArchiveQuery::Read(const QSqlQuery& q, QHash<QString, RecordLayout>& layouts) {
    const RecordLayout& layout = ArchiveRecord::LayoutOf(Text(q, 9), layouts);
    ArchivedRecord r;
    // The texts come from the line as sent, split by the meter's layout; the numbers and
    // times are those the archive stored and sorts by.
    r.record = ArchiveRecord::FromLine(Text(q, 10), layout);
    r.model = Text(q, 0);
    r.serial = Text(q, 1);
    r.user = Text(q, 2);
    r.record.measuredAt = Time(q, 3);
    r.record.calibratedAt = Time(q, 4);
    r.record.recordNumber = Whole(q, 5);
    r.record.programNumber = Whole(q, 6);
    r.record.value1 = Real(q, 7);
    r.record.value2 = Real(q, 8);
    r.recordId = q.value(11).toLongLong();
    r.archivedAt = Time(q, 12);
    r.importId = q.value(13).toLongLong();
    r.valid = q.value(14).isNull() || q.value(14).toInt() == 1;
    r.invalidReason = r.valid ? QString() : Text(q, 15);
    return r;
}

bool ArchiveQuery::Count(const ArchiveFilter& filter, qint64& count) {
    count = 0;
    return m_db.Read([&] {
        const Where where = WhereOf(m_db, filter);
        QSqlQuery q = m_db.Prepare(QStringLiteral("SELECT COUNT(*)") + kJoins + where.sql);
        for (const QVariant& value : where.values) {
            q.addBindValue(value);
        }
        m_db.Exec(q);
        q.next();
        count = q.value(0).toLongLong();
    });
}

bool ArchiveQuery::Models(const ArchiveFilter& filter, QStringList& models) {
    models.clear();
    return m_db.Read([&] {
        const Where where = WhereOf(m_db, filter);
        QSqlQuery q = m_db.Prepare(QStringLiteral("SELECT DISTINCT m.model") + kJoins + where.sql +
                                   QStringLiteral(" ORDER BY m.model"));
        for (const QVariant& value : where.values) {
            q.addBindValue(value);
        }
        m_db.Exec(q);
        while (q.next()) {
            models.append(Text(q, 0));
        }
    });
}

bool ArchiveQuery::Dataset(const ArchiveFilter& filter, MValSet& set) {
    QList<ArchivedRecord> records;
    if (!Records(filter, records)) {
        return false;
    }
    set = DatasetOf(filter.model, records);
    return true;
}

MValSet ArchiveQuery::DatasetOf(const QString& model, const QList<ArchivedRecord>& records) {
    const ArchiveExtract extract = ArchiveExtract::Of(QString(), records);
    MValSet set;
    set.strMeter = model;
    // Every meter and user by name: neither the document nor a file saved from it claims
    // one meter for the records of several.
    set.strSerNo = extract.serials.join(QStringLiteral(", "));
    set.strUser = extract.users.join(QStringLiteral(", "));
    // The end of the period, not the day it was read back: the file's date and the name
    // proposed for it tell when the records were measured.
    if (extract.last.isValid()) {
        set.curDate = extract.last;
    }
    QString text = QStringLiteral("\r\n");
    set.origins.reserve(records.size());
    for (const ArchivedRecord& r : records) {
        text += r.record.rawLine + QStringLiteral("\r\n");
        set.origins.append(
            RecordOrigin{r.serial, r.user, r.recordId, r.importId, r.valid, r.invalidReason});
    }
    set.strMVals = text + QStringLiteral("!\r\n>");
    return set;
}

bool ArchiveQuery::Totals(ArchiveTotals& totals) {
    totals = ArchiveTotals();
    return m_db.Read([&] {
        const auto count = [&](const char* table) {
            QSqlQuery q =
                m_db.Prepare(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
            m_db.Exec(q);
            q.next();
            return q.value(0).toLongLong();
        };
        totals.meters = count("meters");
        totals.imports = count("imports");
        totals.records = count("records");
    });
}

#include "archive/ArchiveQuery.h"

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveExtract.h"
#include "data/MValSet.h"
#include "meter/RecordLayout.h"

#include <QHash>
#include <QScopeGuard>
#include <QSqlQuery>

namespace {

// The page cache of a read, in KiB: enough for SQLite to sort a large result in few steps.
constexpr int kReadCacheKiB = 16384;

// The WHERE clause of a filter: fixed fragments with placeholders, and their values.
struct Where {
    QString sql;
    QVariantList values;

    void Add(const char* fragment, const QVariant& value) {
        sql += sql.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
        sql += QLatin1String(fragment);
        values.append(value);
    }
};

// LIKE pattern matching `text` anywhere, with its own wildcards taken literally.
QString ContainsPattern(const QString& text) {
    QString escaped = ArchiveRecord::Folded(text);
    escaped.replace(QLatin1Char('!'), QStringLiteral("!!"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("!%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("!_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

Where WhereOf(const ArchiveDatabase& db, const ArchiveFilter& f) {
    Where where;
    const QTime midnight(0, 0);
    if (f.from) {
        where.Add("r.measured_at >= ?", db.TimeValue(QDateTime(*f.from, midnight)));
    }
    if (f.to) {
        where.Add("r.measured_at < ?", db.TimeValue(QDateTime(f.to->addDays(1), midnight)));
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
    if (f.archivedSince) {
        where.Add("i.archived_at > ?", db.TimeValue(f.archivedSince));
    }
    return where;
}

const QString kJoins = QStringLiteral(" FROM records r JOIN meters m ON m.id = r.meter_id "
                                      "JOIN imports i ON i.id = r.import_id");

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

// A time column as `TimeText` gives it ("2024-03-01 08:15:00"), nothing for NULL. The wall
// clock exactly as stored: in no zone, so that no daylight-saving change can move it.
// Read digit by digit (a large result reads three per record), Qt's parser for any other
// form.
std::optional<QDateTime> Time(const QSqlQuery& q, int column) {
    const QString text = Text(q, column);
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const auto number = [&text](qsizetype from, qsizetype digits) {
        int value = 0;
        for (qsizetype i = from; i < from + digits; ++i) {
            const int digit = text[i].digitValue();
            if (digit < 0) {
                return -1;
            }
            value = value * 10 + digit;
        }
        return value;
    };
    if (text.size() == 19) {
        const QDate date(number(0, 4), number(5, 2), number(8, 2));
        const QTime time(number(11, 2), number(14, 2), number(17, 2));
        if (date.isValid() && time.isValid()) {
            return QDateTime(date, time, Qt::UTC);
        }
    }
    return QDateTime(QDate::fromString(text.left(10), Qt::ISODate),
                     QTime::fromString(text.mid(11), Qt::ISODate), Qt::UTC);
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
                                        "m.column_kinds, r.raw_line, r.id, %3")
                             .arg(m_db.TimeText(QStringLiteral("r.measured_at")),
                                  m_db.TimeText(QStringLiteral("r.calibrated_at")),
                                  m_db.TimeText(QStringLiteral("i.archived_at"))) +
                         kJoins + where.sql +
                         QStringLiteral(" ORDER BY r.measured_at IS NULL, r.measured_at, r.id"));
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
    const QString kindsText = Text(q, 9);
    auto layout = layouts.find(kindsText);
    if (layout == layouts.end()) {
        QList<int> kinds;
        for (const QString& kind : kindsText.split(QLatin1Char(','))) {
            kinds.append(kind.toInt());
        }
        layout = layouts.insert(kindsText, RecordLayout::ForKinds(kinds));
    }
    ArchivedRecord r;
    // The texts come from the line as sent, split by the meter's layout; the numbers and
    // times are those the archive stored and sorts by.
    r.record = ArchiveRecord::FromLine(Text(q, 10), *layout);
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
        set.origins.append(RecordOrigin{r.serial, r.user});
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

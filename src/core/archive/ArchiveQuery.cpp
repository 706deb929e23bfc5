#include "archive/ArchiveQuery.h"

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecord.h"
#include "data/MValSet.h"

#include <QSqlQuery>

namespace {

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
    QString escaped = text.toLower();
    escaped.replace(QLatin1Char('!'), QStringLiteral("!!"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("!%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("!_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

Where WhereOf(const ArchiveFilter& f) {
    Where where;
    const QTime midnight(0, 0);
    if (f.from) {
        where.Add("r.measured_at >= ?", ArchiveTimeText(QDateTime(*f.from, midnight)));
    }
    if (f.to) {
        where.Add("r.measured_at < ?", ArchiveTimeText(QDateTime(f.to->addDays(1), midnight)));
    }
    if (!f.serial.isEmpty()) {
        where.Add("m.serial_number = ?", f.serial);
    }
    if (f.program) {
        where.Add("r.program_number = ?", *f.program);
    }
    if (!f.sampleId.isEmpty()) {
        where.Add("lower(r.sample_id) LIKE ? ESCAPE '!'", ContainsPattern(f.sampleId));
    }
    if (!f.user.isEmpty()) {
        where.Add("i.user_name = ?", f.user);
    }
    if (!f.model.isEmpty()) {
        where.Add("m.model = ?", f.model);
    }
    return where;
}

const QString kJoins = QStringLiteral(" FROM records r JOIN meters m ON m.id = r.meter_id "
                                      "JOIN imports i ON i.id = r.import_id");

QString Text(const QSqlQuery& q, int column) {
    return q.value(column).toString();
}

// A number column: an invalid QVariant for NULL (the engines disagree on its type), else
// a whole or a real number.
QVariant Whole(const QSqlQuery& q, int column) {
    const QVariant v = q.value(column);
    return v.isNull() ? QVariant() : QVariant(v.toLongLong());
}

QVariant Real(const QSqlQuery& q, int column) {
    const QVariant v = q.value(column);
    return v.isNull() ? QVariant() : QVariant(v.toDouble());
}

} // namespace

QString ArchiveQuery::TimeColumn(const QString& column) const {
    // Both engines hand the time back as the same text, free of any time zone.
    return m_db.IsPostgres()
               ? QStringLiteral("to_char(%1, 'YYYY-MM-DD HH24:MI:SS')").arg(column)
               : column;
}

bool ArchiveQuery::Records(const ArchiveFilter& filter, QList<ArchivedRecord>& records) {
    records.clear();
    return m_db.Read([&] {
        const Where where = WhereOf(filter);
        QSqlQuery q = m_db.Prepare(
            QStringLiteral("SELECT m.model, m.serial_number, i.user_name, %1, %2, "
                           "r.record_number, r.program_number, r.value1, r.value2, r.citation, "
                           "r.sample_id, r.reference_mark, r.dilution, r.value1_text, r.unit1, "
                           "r.state1, r.value2_text, r.unit2, r.state2, r.flags, r.raw_line")
                .arg(TimeColumn(QStringLiteral("r.measured_at")),
                     TimeColumn(QStringLiteral("r.calibrated_at"))) +
            kJoins + where.sql +
            QStringLiteral(" ORDER BY r.measured_at IS NULL, r.measured_at, r.id"));
        for (const QVariant& value : where.values) {
            q.addBindValue(value);
        }
        m_db.Exec(q);
        while (q.next()) {
            ArchivedRecord r;
            r.model = Text(q, 0);
            r.serial = Text(q, 1);
            r.user = Text(q, 2);
            r.measuredAt = ArchiveIsoTime(Text(q, 3));
            r.calibratedAt = ArchiveIsoTime(Text(q, 4));
            r.recordNumber = Whole(q, 5);
            r.programNumber = Whole(q, 6);
            r.value1 = Real(q, 7);
            r.value2 = Real(q, 8);
            r.citation = Text(q, 9);
            r.sampleId = Text(q, 10);
            r.referenceMark = Text(q, 11);
            r.dilution = Text(q, 12);
            r.value1Text = r.value1.isNull() ? Text(q, 13) : r.value1.toString();
            r.unit1 = Text(q, 14);
            r.state1 = Text(q, 15);
            r.value2Text = r.value2.isNull() ? Text(q, 16) : r.value2.toString();
            r.unit2 = Text(q, 17);
            r.state2 = Text(q, 18);
            r.flags = Text(q, 19);
            r.rawLine = Text(q, 20);
            records.append(std::move(r));
        }
    });
}

bool ArchiveQuery::Count(const ArchiveFilter& filter, qint64& count) {
    count = 0;
    return m_db.Read([&] {
        const Where where = WhereOf(filter);
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
        const Where where = WhereOf(filter);
        QSqlQuery q = m_db.Prepare(QStringLiteral("SELECT DISTINCT m.model") + kJoins +
                                   where.sql + QStringLiteral(" ORDER BY m.model"));
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
    const QString several = QStringLiteral("*");
    set = MValSet();
    set.strMeter = filter.model;
    QString text = QStringLiteral("\r\n");
    for (const ArchivedRecord& r : records) {
        if (set.strSerNo.isEmpty() || set.strSerNo == r.serial) {
            set.strSerNo = r.serial;
        } else {
            set.strSerNo = several;
        }
        if (set.strUser.isEmpty() || set.strUser == r.user) {
            set.strUser = r.user;
        } else {
            set.strUser = several;
        }
        text += r.rawLine + QStringLiteral("\r\n");
    }
    set.strMVals = text + QStringLiteral("!\r\n>");
    return true;
}

bool ArchiveQuery::Totals(ArchiveTotals& totals) {
    totals = ArchiveTotals();
    return m_db.Read([&] {
        const auto count = [&](const char* table) {
            QSqlQuery q = m_db.Prepare(QStringLiteral("SELECT COUNT(*) FROM %1")
                                           .arg(QLatin1String(table)));
            m_db.Exec(q);
            q.next();
            return q.value(0).toLongLong();
        };
        totals.meters = count("meters");
        totals.imports = count("imports");
        totals.records = count("records");
    });
}

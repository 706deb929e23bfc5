#include "archive/QcStore.h"

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecord.h"
#include "archive/ArchiveTrail.h"
#include "archive/IdentityRow.h"
#include "archive/RecordValidity.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

const QString kDate = QStringLiteral("yyyy-MM-dd");

std::optional<double> Real(const QVariant& v) {
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}

std::optional<qint64> Whole(const QVariant& v) {
    return v.isNull() ? std::nullopt : std::optional<qint64>(v.toLongLong());
}

void Bind(QSqlQuery& query, const QVariantList& values) {
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
}

} // namespace

QString QcStore::Recognising(const QcControl& control, QVariantList& values, bool programIndex) {
    QString sql;
    if (control.match == QcControl::Match::Equals) {
        sql = QStringLiteral("r.sample_id_folded = ?");
        values << ArchiveRecord::Folded(control.matchText.trimmed());
    } else {
        sql = QStringLiteral("r.sample_id_folded LIKE ? ESCAPE '!'");
        values << ArchiveRecord::LikeEscaped(ArchiveRecord::Folded(control.matchText.trimmed())) +
                      QLatin1Char('%');
    }
    if (control.program) {
        // A unary plus makes the column an expression no index serves, on both engines.
        sql += programIndex ? QStringLiteral(" AND r.program_number = ?")
                            : QStringLiteral(" AND +r.program_number = ?");
        values << *control.program;
    }
    if (!control.citation.isEmpty()) {
        sql += QStringLiteral(" AND r.citation = ?");
        values << control.citation;
    }
    return sql;
}

QDate QcStore::FirstPointDate(const QcControl& control) {
    QVariantList values;
    QSqlQuery q = m_db.Prepare(
        QStringLiteral("SELECT MIN(%1) FROM records r WHERE %2")
            .arg(m_db.TimeText(QStringLiteral("r.measured_at")), Recognising(control, values)));
    Bind(q, values);
    m_db.Exec(q);
    const std::optional<QDateTime> first =
        q.next() ? ArchiveDatabase::StoredTime(q.value(0).toString()) : std::nullopt;
    return first ? first->date() : QDate::currentDate();
}

bool QcStore::Define(const QcControl& control, QcVersion version) {
    return m_db.Write([&] {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const ArchiveIdentity who = m_db.Identity(m_user);
        QSqlQuery add = m_db.Prepare(QStringLiteral(
            "INSERT INTO qc_controls (name, created_at, created_by, os_account, host_name, "
            "program_version, db_role) VALUES (?, ?, ?, ?, ?, ?, ?) "
            "ON CONFLICT (name) DO NOTHING"));
        Bind(add, QVariantList{control.name, m_db.TimeValue(now), who.osAccount} +
                      IdentityRow::Values(who).mid(1));
        m_db.Exec(add);
        if (!version.validFrom.isValid()) {
            version.validFrom = FirstPointDate(control);
        }
        QSqlQuery insert = m_db.Prepare(QStringLiteral(
            "INSERT INTO qc_versions (control_id, valid_from, created_at, created_by, "
            "program_number, citation, match_kind, match_text, target, sd, unit, rules, "
            "os_account, host_name, program_version, db_role) "
            "SELECT id, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ? FROM qc_controls WHERE name = "
            "?"));
        Bind(insert,
             QVariantList{version.validFrom.toString(kDate), m_db.TimeValue(now), who.osAccount,
                          ArchiveDatabase::OptionalValue(control.program),
                          ArchiveDatabase::TextValue(control.citation),
                          control.match == QcControl::Match::Equals ? QStringLiteral("equals")
                                                                    : QStringLiteral("prefix"),
                          control.matchText.trimmed(), version.target, version.sd,
                          ArchiveDatabase::TextValue(version.unit), version.rules.Text()} +
                 IdentityRow::Values(who).mid(1) + QVariantList{control.name});
        m_db.Exec(insert);
        ArchiveTrail(m_db).Append(who, QLatin1String(ArchiveTrail::kQcVersionAdded),
                                  QStringLiteral("control %1").arg(control.name), QString(),
                                  QStringLiteral("from %1: target %2, sd %3 %4, rules %5")
                                      .arg(version.validFrom.toString(kDate))
                                      .arg(version.target)
                                      .arg(version.sd)
                                      .arg(version.unit, version.rules.Text()));
    });
}

bool QcStore::Controls(QList<QcControl>& controls) {
    controls.clear();
    return m_db.Read([&] {
        QSqlQuery q = m_db.Prepare(
            QStringLiteral("SELECT c.name, v.valid_from, %1, v.created_by, v.program_number, "
                           "v.citation, v.match_kind, v.match_text, v.target, v.sd, v.unit, "
                           "v.rules FROM qc_versions v JOIN qc_controls c ON c.id = v.control_id "
                           "ORDER BY c.name, v.id")
                .arg(m_db.TimeText(QStringLiteral("v.created_at"))));
        m_db.Exec(q);
        while (q.next()) {
            if (controls.isEmpty() || controls.last().name != q.value(0).toString()) {
                controls.append(QcControl{});
                controls.last().name = q.value(0).toString();
            }
            QcControl& c = controls.last();
            // The latest version says how the control's records are recognised.
            c.program = Whole(q.value(4));
            c.citation = q.value(5).toString();
            c.match = q.value(6).toString() == QLatin1String("prefix") ? QcControl::Match::Prefix
                                                                       : QcControl::Match::Equals;
            c.matchText = q.value(7).toString();
            QcVersion v;
            v.validFrom = QDate::fromString(q.value(1).toString(), kDate);
            v.createdAt = ArchiveDatabase::StoredTime(q.value(2).toString()).value_or(QDateTime());
            v.createdBy = q.value(3).toString();
            v.target = q.value(8).toDouble();
            v.sd = q.value(9).toDouble();
            v.unit = q.value(10).toString();
            v.rules = QcRules::Parse(q.value(11).toString()).value_or(QcRules{});
            c.versions.append(v);
        }
    });
}

void QcStore::Select(const QcControl& control, const QString& where, QVariantList values,
                     QList<QcRecord>& records) {
    QVariantList all;
    const QString recognising = Recognising(control, all);
    all << values;
    QSqlQuery q = m_db.Prepare(
        QStringLiteral("SELECT r.id, m.serial_number, %1, %2, r.program_number, r.value1, "
                       "r.citation, r.sample_id, r.value1_text, r.state1, r.import_id, st.valid, "
                       "st.reason FROM records r JOIN meters m ON m.id = r.meter_id%3 WHERE %4 %5")
            .arg(m_db.TimeText(QStringLiteral("r.measured_at")),
                 m_db.TimeText(QStringLiteral("r.measured_utc")),
                 RecordValidity::StateJoin(QStringLiteral("r"), QStringLiteral("st")), recognising,
                 where));
    Bind(q, all);
    m_db.Exec(q);
    while (q.next()) {
        QcRecord r;
        r.recordId = q.value(0).toLongLong();
        r.serial = q.value(1).toString();
        r.measuredAt = ArchiveDatabase::StoredTime(q.value(2).toString());
        r.instant = ArchiveDatabase::StoredTime(q.value(3).toString());
        r.program = Whole(q.value(4));
        r.value1 = Real(q.value(5));
        r.citation = q.value(6).toString();
        r.sampleId = q.value(7).toString();
        r.value1Text = q.value(8).toString();
        r.state1 = q.value(9).toString();
        r.importId = q.value(10).toLongLong();
        // An invalidated record stays in the series' list, so that the judgement can say
        // why it is no point.
        r.valid = q.value(11).isNull() || q.value(11).toInt() == 1;
        r.invalidReason = r.valid ? QString() : q.value(12).toString();
        records.append(r);
    }
}

bool QcStore::Records(const QcControl& control, QList<QcRecord>& records) {
    records.clear();
    return m_db.Read([&] { Select(control, QString(), {}, records); });
}

bool QcStore::Series(const QcControl& control, const QDateTime& from, int lookBack,
                     QList<QcRecord>& records) {
    records.clear();
    return m_db.Read([&] {
        const QVariant at = m_db.TimeValue(from);
        Select(control, QStringLiteral("AND r.measured_utc >= ?"), {at}, records);
        QStringList serials;
        for (const QcRecord& r : records) {
            if (!serials.contains(r.serial)) {
                serials << r.serial;
            }
        }
        // Only points make a run: the latest of them before `from`, meter by meter, walking
        // the time index backwards.
        for (const QString& serial : serials) {
            Select(control,
                   QStringLiteral("AND m.serial_number = ? AND r.measured_utc < ? AND "
                                  "r.value1 IS NOT NULL AND TRIM(r.state1) = 'OK' AND %1 "
                                  "ORDER BY r.measured_utc DESC, r.id DESC LIMIT ?")
                       .arg(RecordValidity::ValidCondition(QStringLiteral("r"))),
                   {serial, at, lookBack}, records);
        }
    });
}

bool QcStore::LastRecordId(qint64& id) {
    id = 0;
    return m_db.Read([&] {
        QSqlQuery q = m_db.Prepare(QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM records"));
        m_db.Exec(q);
        if (q.next()) {
            id = q.value(0).toLongLong();
        }
    });
}

bool QcStore::FirstAfter(const QcControl& control, qint64 afterRecordId,
                         std::optional<QDateTime>& first) {
    first.reset();
    return m_db.Read([&] {
        QVariantList values{afterRecordId};
        // The new records are few: read by id, the earliest found here (an aggregate would
        // walk the time index from the archive's first record).
        QSqlQuery q = m_db.Prepare(
            QStringLiteral("SELECT %1 FROM records r WHERE r.id > ? AND r.measured_utc IS NOT "
                           "NULL AND %2")
                .arg(m_db.TimeText(QStringLiteral("r.measured_utc")),
                     Recognising(control, values, false)));
        Bind(q, values);
        m_db.Exec(q);
        while (q.next()) {
            const std::optional<QDateTime> at = ArchiveDatabase::StoredTime(q.value(0).toString());
            if (at && (!first || *at < *first)) {
                first = at;
            }
        }
    });
}

bool QcStore::RecordLines(const QList<qint64>& ids, QStringList& lines) {
    lines.clear();
    return m_db.Read([&] {
        QSqlQuery q = m_db.Prepare(QStringLiteral("SELECT raw_line FROM records WHERE id = ?"));
        for (const qint64 id : ids) {
            q.bindValue(0, id);
            m_db.Exec(q);
            lines << (q.next() ? q.value(0).toString() : QString());
        }
    });
}

bool QcStore::AddLimit(LimitValue limit) {
    return m_db.Write([&] {
        QSqlQuery insert = m_db.Prepare(QStringLiteral(
            "INSERT INTO limit_versions (program_number, valid_from, created_at, created_by, "
            "lower_limit, upper_limit, unit, os_account, host_name, program_version, db_role) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const QDate from = limit.validFrom.isValid() ? limit.validFrom : QDate::currentDate();
        const ArchiveIdentity who = m_db.Identity(m_user);
        Bind(insert, QVariantList{limit.program, from.toString(kDate),
                                  m_db.TimeValue(QDateTime::currentDateTimeUtc()), who.osAccount,
                                  ArchiveDatabase::OptionalValue(limit.lower),
                                  ArchiveDatabase::OptionalValue(limit.upper),
                                  ArchiveDatabase::TextValue(limit.unit)} +
                         IdentityRow::Values(who).mid(1));
        m_db.Exec(insert);
        const auto bound = [](std::optional<double> value) {
            return value ? QString::number(*value) : QStringLiteral("-");
        };
        ArchiveTrail(m_db).Append(
            who, QLatin1String(ArchiveTrail::kLimitVersionAdded),
            QStringLiteral("program %1 limits").arg(limit.program), QString(),
            QStringLiteral("from %1: lower %2, upper %3 %4")
                .arg(from.toString(kDate), bound(limit.lower), bound(limit.upper), limit.unit));
    });
}

bool QcStore::Limits(QList<LimitValue>& limits) {
    limits.clear();
    return m_db.Read([&] {
        QSqlQuery q = m_db.Prepare(
            QStringLiteral("SELECT program_number, valid_from, %1, created_by, lower_limit, "
                           "upper_limit, unit FROM limit_versions ORDER BY program_number, "
                           "valid_from, id")
                .arg(m_db.TimeText(QStringLiteral("created_at"))));
        m_db.Exec(q);
        while (q.next()) {
            LimitValue l;
            l.program = q.value(0).toLongLong();
            l.validFrom = QDate::fromString(q.value(1).toString(), kDate);
            l.createdAt = ArchiveDatabase::StoredTime(q.value(2).toString()).value_or(QDateTime());
            l.createdBy = q.value(3).toString();
            l.lower = Real(q.value(4));
            l.upper = Real(q.value(5));
            l.unit = q.value(6).toString();
            limits.append(l);
        }
    });
}

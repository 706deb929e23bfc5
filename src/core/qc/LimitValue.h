#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// Limit values of one program from a date on (e.g. nitrate at most 50 mg/l), a lower and/or an
// upper limit. Like a control, new limits are a new version; none is overwritten.
struct LimitValue {
    qint64 program = 0;
    std::optional<double> lower, upper;
    QString unit;
    QDate validFrom;
    QDateTime createdAt;
    QString createdBy;

    // Whether a result lies strictly beyond the limits: its number, or, for a text, "> MR"
    // (over the measuring range) above an upper limit.
    bool Beyond(const std::optional<double>& value, const QString& valueText) const;
    // The limits of `program` in force on `date` (the latest from that date or before, the
    // later made on the same date); none before the first.
    static const LimitValue* InForce(const QList<LimitValue>& limits, qint64 program,
                                     const QDate& date);
};

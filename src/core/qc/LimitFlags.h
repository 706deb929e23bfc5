#pragma once

#include "qc/LimitValue.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QStringView>
#include <optional>
#include <vector>

class RecordLayout;

// Which results lie beyond the limit values of their program: the first value ("Valeur 1")
// of a record, judged by the limits in force on the record's date. Built once from every
// limit version, then asked per record wherever results are shown, so it is indexed by
// program and looks at a record line in place.
class LimitFlags {
public:
    LimitFlags() = default; // no limits: nothing is beyond
    explicit LimitFlags(const QList<LimitValue>& limits);

    bool IsEmpty() const { return m_byProgram.isEmpty(); }
    bool HasLimits(qint64 program) const { return m_byProgram.contains(program); }
    // The limits of `program` in force on `date`; a record without a date is judged by the
    // limits in force today. None before the program's first version.
    const LimitValue* InForce(qint64 program, const QDate& date) const;
    // Whether a result is beyond the limits that apply to it; nothing when none apply (no
    // program, none of its limits in force yet). `state` is the value's state field: an
    // upper limit makes a "> MR" result beyond it, whatever number the meter wrote with it.
    std::optional<bool> Judge(std::optional<qint64> program, const QDate& date,
                              std::optional<double> value, QStringView state) const;
    // The same for a record line read by its layout; false where no limits apply, and for
    // every record of a layout without a program column (turbidimeters).
    bool Beyond(QStringView line, const RecordLayout& layout) const;

private:
    // Per program, its versions in the order they take over: by date, then by when made.
    QHash<qint64, std::vector<LimitValue>> m_byProgram;
    QDate m_today = QDate::currentDate();
};

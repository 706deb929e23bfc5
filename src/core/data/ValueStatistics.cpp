#include "data/ValueStatistics.h"

#include "app/TextTables.h"
#include "data/FieldNumber.h"
#include "data/RecordDateTime.h"
#include "data/RecordWalker.h"
#include "qc/LimitFlags.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace {

constexpr int kMaxFields = 16;
// The table's titles: program, name, unit, n, of which flagged, mean, sd, CV, minimum,
// maximum, non-numeric, first and last date.
constexpr std::array kTitles = {1707, 1708, 1709, 1710, 1635, 1711, 1712,
                                1713, 1714, 1715, 1716, 1717, 1718};

constexpr qint64 kSecondsPerDay = 86400;

QDateTime DateTimeOf(qint64 seconds) {
    if (seconds < 0) {
        return QDateTime();
    }
    return QDateTime(QDate::fromJulianDay(seconds / kSecondsPerDay),
                     QTime(0, 0).addSecs(int(seconds % kSecondsPerDay)));
}

// Welford's running mean and sum of squared deviations: exact enough for a million values
// of very different size, where the sum of squares would cancel.
struct Accumulator {
    StatisticsRow row;
    double m2 = 0.0;
    qint64 first = -1; // seconds since the start of the Julian day count; -1: none
    qint64 last = -1;
    qsizetype beyond = 0; // values beyond their program's limits

    void AddValue(double value, bool flagged) {
        ++row.count;
        row.flagged += flagged ? 1 : 0;
        if (row.count == 1) {
            row.mean = row.min = row.max = value;
            return;
        }
        const double delta = value - row.mean;
        row.mean += delta / double(row.count);
        m2 += delta * (value - row.mean);
        row.min = std::min(row.min, value);
        row.max = std::max(row.max, value);
    }

    void AddWhen(qint64 when) {
        if (when < 0) {
            return;
        }
        first = first < 0 ? when : std::min(first, when);
        last = std::max(last, when);
    }

    StatisticsRow Finish() const {
        StatisticsRow out = row;
        out.first = DateTimeOf(first);
        out.last = DateTimeOf(last);
        if (out.count > 1) {
            out.sd = std::sqrt(m2 / double(out.count - 1));
            if (out.mean != 0.0) {
                out.cv = out.sd / std::abs(out.mean) * 100.0;
            }
        }
        return out;
    }
};

QStringView Field(std::span<const QStringView> fields, int column) {
    return column >= 0 ? fields[size_t(column)].trimmed() : QStringView();
}

// The record's date and time in seconds, -1 without a readable date. Plain numbers: a
// QDateTime per record would cost more than the rest of the statistics.
qint64 RecordWhen(std::span<const QStringView> fields, const RecordLayout& columns) {
    const auto date = RecordDate(Field(fields, columns.Date()));
    if (!date) {
        return -1;
    }
    const auto time = RecordTime(Field(fields, columns.Time()));
    return date->toJulianDay() * kSecondsPerDay + (time ? time->msecsSinceStartOfDay() / 1000 : 0);
}

auto SortKey(const StatisticsRow& r) {
    bool number = false;
    const qlonglong program = r.program.toLongLong(&number);
    return std::make_tuple(!number, program, r.program, r.name, r.unit);
}

} // namespace

QList<StatisticsRow> ValueStatistics(std::span<const QStringView> lines,
                                     const RecordLayout& columns, int valueColumn,
                                     const QString& columnTitle, StatisticsValues which,
                                     const LimitFlags* limits) {
    if (valueColumn < 0 || valueColumn >= columns.Count()) {
        return {};
    }
    const int count = std::min(columns.Count(), kMaxFields);
    const int unitColumn = columns.UnitOf(valueColumn);
    const int stateColumn = columns.StateOf(valueColumn);
    // Keyed by views into the lines: no text is copied per record.
    std::map<std::array<QStringView, 3>, Accumulator> groups;
    const LimitFlags* judged = valueColumn == columns.Value1() ? limits : nullptr;
    std::array<QStringView, kMaxFields> views;
    const std::span<QStringView> fields(views.data(), size_t(count));
    for (const QStringView line : lines) {
        SplitRecordLine(line, fields);
        const QStringView field = fields[size_t(valueColumn)].trimmed();
        const ValueState state = ValueStateOf(Field(fields, stateColumn));
        if (field.isEmpty() || (which == StatisticsValues::OkOnly && state != ValueState::Ok)) {
            continue;
        }
        const QStringView name =
            columns.Citation() >= 0 ? Field(fields, columns.Citation()) : QStringView(columnTitle);
        Accumulator& group =
            groups[{Field(fields, columns.Program()), name, Field(fields, unitColumn)}];
        if (const auto value = FieldNumber(field, false)) {
            group.AddValue(*value, state == ValueState::Flagged);
        } else {
            ++group.row.nonNumeric;
        }
        group.AddWhen(RecordWhen(fields, columns));
        if (judged != nullptr && judged->Beyond(line, columns)) {
            ++group.beyond;
        }
    }
    QList<StatisticsRow> rows;
    for (const auto& [key, group] : groups) {
        StatisticsRow row = group.Finish();
        row.program = key[0].toString();
        row.name = key[1].toString();
        row.unit = key[2].toString();
        const std::optional<double> program = FieldNumber(key[0], true);
        if (judged != nullptr && program && judged->HasLimits(qint64(*program))) {
            row.beyond = group.beyond;
        }
        rows.append(row);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const StatisticsRow& a, const StatisticsRow& b) {
        return SortKey(a) < SortKey(b);
    });
    return rows;
}

QStringList StatisticsTitles() {
    QStringList titles;
    for (const int number : kTitles) {
        titles.append(LoadResString(number));
    }
    return titles;
}

QStringList StatisticsFields(const StatisticsRow& row, const std::function<QString(double)>& number,
                             const std::function<QString(const QDateTime&)>& when) {
    const auto figure = [&](double value) { return std::isnan(value) ? QString() : number(value); };
    const auto time = [&](const QDateTime& t) { return t.isValid() ? when(t) : QString(); };
    return {row.program,
            row.name,
            row.unit,
            QString::number(row.count),
            QString::number(row.flagged),
            figure(row.mean),
            figure(row.sd),
            figure(row.cv),
            figure(row.min),
            figure(row.max),
            QString::number(row.nonNumeric),
            time(row.first),
            time(row.last)};
}

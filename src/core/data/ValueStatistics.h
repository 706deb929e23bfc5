#pragma once

#include "data/RecordColumns.h"

class LimitFlags;

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>
#include <cmath>
#include <functional>
#include <optional>
#include <span>

// The summary of one value column for one method: a photometer program with its citation
// form and unit, or a turbidimeter's unit. Missing figures are NaN (a standard deviation
// needs two values, a coefficient of variation a mean other than 0). An empty field is no
// value at all: a record without a second value counts nowhere in the second column.
struct StatisticsRow {
    QString program; // the program number; empty for a turbidimeter
    QString name;    // the citation form, or the column's title for a turbidimeter
    QString unit;
    qsizetype count = 0;      // numeric values
    qsizetype flagged = 0;    // of which the meter flagged (a state other than "OK": "> MR")
    qsizetype nonNumeric = 0; // records whose field holds no number ("<0.01", "----")
    double mean = NAN;
    double sd = NAN; // sample standard deviation (n - 1)
    double cv = NAN; // sd / |mean| in %
    double min = NAN;
    double max = NAN;
    QDateTime first, last; // the earliest and latest readable date and time of the records
    // Of the first value's records, those beyond the limit values of their program; nothing
    // when the program has none (or the figures are not the first value's).
    std::optional<qsizetype> beyond;
};

// Which values the figures take: all of them, flagged ones counted apart, or only those
// whose state is "OK" (a value without a state is left out too).
enum class StatisticsValues { All, OkOnly };

// One row per method present in `lines`, ordered by program number, name and unit. With
// `limits`, the rows of the first value count the values beyond them.
QList<StatisticsRow> ValueStatistics(std::span<const QStringView> lines,
                                     const RecordLayout& columns, int valueColumn,
                                     const QString& columnTitle,
                                     StatisticsValues which = StatisticsValues::All,
                                     const LimitFlags* limits = nullptr);

// The titles of the statistics table, the same in the window and for `mervex-cli stats`.
QStringList StatisticsTitles();
// One row as the table's fields; missing figures stay empty.
QStringList StatisticsFields(const StatisticsRow& row, const std::function<QString(double)>& number,
                             const std::function<QString(const QDateTime&)>& when);

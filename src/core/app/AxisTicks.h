#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Tick marks of a plot's axes, chosen so that grid lines fall on values a reader can take
// in at a glance.

// Round tick values (1, 2 or 5 times a power of ten apart) from at or below `low` to at or
// above `high`, at most about `maxTicks` of them; {low} when the range is empty.
QList<double> RoundTicks(double low, double high, int maxTicks = 6);

// Ticks `step` apart, multiples of it, from at or below `low` to at or above `high`.
QList<double> TicksEvery(double low, double high, double step);

// Ticks of a time axis in seconds of a clock (RecordClockSeconds): whole seconds, minutes,
// hours or days apart as the range asks, never more than about `maxTicks`, at midnight for
// steps of days. Empty when the range is empty.
struct TimeTicks {
    QList<double> ticks;
    double step = 0.0;
};
TimeTicks ChooseTimeTicks(double low, double high, int maxTicks = 7);

// Seconds since 1 January 2000 00:00 of a meter's own clock (no time zone, no daylight
// saving: the records carry none), and back.
double RecordClockSeconds(const QDate& date, const QTime& time);
QDateTime FromRecordClockSeconds(double seconds);

// Labels of time ticks: the time of day ("14:30", with seconds when the step is shorter
// than a minute) over the date ("03.12.24") at the first tick and where the day changes;
// only the date when the ticks are days apart.
QStringList TimeTickLabels(const QList<double>& ticks, double step);

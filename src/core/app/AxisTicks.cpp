#include "app/AxisTicks.h"

#include "app/DateText.h"

#include <cmath>
#include <iterator>

namespace {

constexpr double kMinute = 60.0;
constexpr double kHour = 3600.0;
constexpr double kDay = 86400.0;
const QDate kClockEpoch(2000, 1, 1);

// Steps below a day that divide the day into round parts.
constexpr double kTimeSteps[] = {
    1,       2,           5,           10,           15,           30,
    kMinute, 2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute,
    kHour,   2 * kHour,   3 * kHour,   6 * kHour,    12 * kHour};

// 1, 2 or 5 times a power of ten, at least `rough`.
double RoundStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough * (1 - 1e-9)) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

} // namespace

QList<double> TicksEvery(double low, double high, double step) {
    const double first = std::floor(low / step + 1e-9) * step;
    QList<double> ticks;
    for (int i = 0;; ++i) {
        double tick = first + i * step;
        if (std::abs(tick) < step * 1e-9) {
            tick = 0.0; // no "-0" label
        }
        ticks.append(tick);
        if (tick >= high - step * 1e-9) {
            break;
        }
    }
    return ticks;
}

QList<double> RoundTicks(double low, double high, int maxTicks) {
    if (!(high > low) || !std::isfinite(high - low) || maxTicks < 2) {
        return {low};
    }
    return TicksEvery(low, high, RoundStep((high - low) / (maxTicks - 1)));
}

TimeTicks ChooseTimeTicks(double low, double high, int maxTicks) {
    if (!(high > low) || !std::isfinite(high - low) || maxTicks < 2) {
        return {};
    }
    const double rough = (high - low) / (maxTicks - 1);
    double step = 0.0;
    for (const double candidate : kTimeSteps) {
        if (candidate >= rough * (1 - 1e-9)) {
            step = candidate;
            break;
        }
    }
    if (step == 0.0) {
        step = RoundStep(rough / kDay) * kDay;
    }
    return {TicksEvery(low, high, step), step};
}

double RecordClockSeconds(const QDate& date, const QTime& time) {
    return double(kClockEpoch.daysTo(date)) * kDay + time.msecsSinceStartOfDay() / 1000.0;
}

QDateTime FromRecordClockSeconds(double seconds) {
    const double days = std::floor(seconds / kDay);
    const QDate date = kClockEpoch.addDays(qint64(days));
    const int msecs = int(std::llround((seconds - days * kDay) * 1000.0));
    return QDateTime(date, QTime(0, 0).addMSecs(msecs));
}

QStringList TimeTickLabels(const QList<double>& ticks, double step) {
    const QString timeFormat =
        step < kMinute ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm");
    QStringList labels;
    QDate previous;
    for (const double tick : ticks) {
        const QDateTime when = FromRecordClockSeconds(tick);
        if (step >= kDay) {
            labels.append(ShortDateText(when.date()));
            continue;
        }
        QString label = when.time().toString(timeFormat);
        if (when.date() != previous) {
            label += QLatin1Char('\n') + ShortDateText(when.date());
            previous = when.date();
        }
        labels.append(label);
    }
    return labels;
}

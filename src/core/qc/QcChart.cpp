#include "qc/QcChart.h"

#include "app/AxisTicks.h"

#include <algorithm>
#include <cmath>

namespace {

// The chart shows at least ±4 s and at most ±8 s; a point beyond is drawn at the edge.
constexpr double kLeast = 4.0;
constexpr double kMost = 8.0;
constexpr double kHalfDay = 12 * 3600.0;

} // namespace

QcChart::Level QcChart::LevelOf(unsigned flags) {
    if (QcRules::IsRejection(flags)) {
        return Level::Rejection;
    }
    return flags != 0 ? Level::Warning : Level::Pass;
}

QcChart QcChart::Of(const QcControl& control, const QcJudgement& judgement) {
    QcChart chart;
    double reach = kLeast;
    for (const QcPoint& p : judgement.points) {
        reach = std::max(reach, std::ceil(std::abs(p.z)));
    }
    reach = std::min(reach, kMost);
    chart.yMin = -reach;
    chart.yMax = reach;
    double low = 0.0;
    double high = 0.0;
    for (qsizetype i = 0; i < judgement.points.size(); ++i) {
        const QcPoint& p = judgement.points[i];
        const QDateTime& at = *p.record.measuredAt;
        Point point;
        point.x = RecordClockSeconds(at.date(), at.time());
        point.y = std::clamp(p.z, -reach, reach);
        point.clipped = std::abs(p.z) > reach;
        point.level = LevelOf(p.flags);
        point.index = i;
        low = i == 0 ? point.x : std::min(low, point.x);
        high = i == 0 ? point.x : std::max(high, point.x);
        chart.points.append(point);
    }
    if (chart.points.isEmpty()) {
        return chart;
    }
    if (high == low) {
        low -= kHalfDay;
        high += kHalfDay;
    }
    const TimeTicks time = ChooseTimeTicks(low, high);
    chart.xTicks = time.ticks;
    chart.xLabels = TimeTickLabels(time.ticks, time.step);
    chart.xMin = chart.xTicks.front();
    chart.xMax = chart.xTicks.back();
    for (const QcVersion& v : control.versions) {
        const double x = RecordClockSeconds(v.validFrom, QTime(0, 0));
        if (x > chart.xMin && x < chart.xMax && !chart.versionMarks.contains(x)) {
            chart.versionMarks.append(x);
        }
    }
    std::sort(chart.versionMarks.begin(), chart.versionMarks.end());
    return chart;
}

qsizetype QcChart::Nearest(double x, double y, double dx, double dy) const {
    qsizetype best = -1;
    double bestDistance = 1.0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const double ex = (points[i].x - x) / dx;
        const double ey = (points[i].y - y) / dy;
        const double d = ex * ex + ey * ey;
        if (d <= bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

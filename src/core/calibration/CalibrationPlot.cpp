#include "calibration/CalibrationPlot.h"

#include "calibration/CMath.h"

#include <algorithm>
#include <cmath>

bool MakeCalibrationPlot(CMath& math, const QList<double>& dblArrayX,
                         const QList<double>& dblArrayY, short intCnt, double dblA0, double dblA1,
                         CalibrationPlot& plot) {
    CalibrationPlot result;
    double smallestY = 0.0;
    if (!math.ArrayMax(result.xMax, dblArrayX, intCnt, 0.0) ||
        !math.ArrayMax(result.yMax, dblArrayY, intCnt, 0.0) ||
        !math.ArrayMin(smallestY, dblArrayY, intCnt, 100.0)) {
        return false;
    }
    result.yMin = std::min(smallestY, 0.0);
    const double lineEnd = dblA0 + dblA1 * result.xMax;
    if (!(result.xMax > 0.0) || !std::isfinite(result.xMax) || !(result.yMax > result.yMin) ||
        !std::isfinite(lineEnd) || !std::isfinite(result.yMax - result.yMin) ||
        !std::isfinite(dblA0)) {
        return false;
    }
    double xLow = result.xMax;
    for (short i = 0; i < intCnt; ++i) {
        result.marks.append(QPointF(dblArrayX[i], dblArrayY[i]));
        xLow = std::min(xLow, dblArrayX[i]);
    }
    // The line where the pairs support it, not extrapolated to 0.
    result.line = QLineF(xLow, dblA0 + dblA1 * xLow, result.xMax, lineEnd);
    result.xTicks = RoundTicks(0.0, result.xMax);
    result.yTicks = RoundTicks(result.yMin, result.yMax);
    result.xMax = result.xTicks.back();
    result.yMin = result.yTicks.front();
    result.yMax = result.yTicks.back();
    result.a0 = dblA0;
    result.a1 = dblA1;
    result.r2 = CoefficientOfDetermination(dblArrayX, dblArrayY, intCnt, dblA0, dblA1);
    plot = result;
    return true;
}

double CoefficientOfDetermination(const QList<double>& x, const QList<double>& y, int count,
                                  double a0, double a1) {
    const int n = std::min<int>({count, int(x.size()), int(y.size())});
    if (n <= 0) {
        return 0.0;
    }
    double mean = 0.0;
    for (int i = 0; i < n; ++i) {
        mean += y[i];
    }
    mean /= n;
    double residuals = 0.0;
    double total = 0.0;
    for (int i = 0; i < n; ++i) {
        const double r = y[i] - (a0 + a1 * x[i]);
        residuals += r * r;
        total += (y[i] - mean) * (y[i] - mean);
    }
    if (total == 0.0) {
        return residuals == 0.0 ? 1.0 : 0.0;
    }
    return 1.0 - residuals / total;
}

QString LineEquation(double a0, double a1) {
    const QString slope = QString::number(a1, 'g', 4);
    const QString offset = QString::number(std::abs(a0), 'g', 4);
    return QStringLiteral("E = %1 C %2 %3")
        .arg(slope, a0 < 0 ? QStringLiteral("-") : QStringLiteral("+"), offset);
}

QString DeterminationText(double r2) {
    return QStringLiteral("R\u00B2 = %1").arg(QString::number(r2, 'f', 4));
}

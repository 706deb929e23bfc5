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
    for (short i = 0; i < intCnt; ++i) {
        result.marks.append(QPointF(dblArrayX[i], dblArrayY[i]));
    }
    result.line = QLineF(0.0, dblA0, result.xMax, lineEnd);
    plot = result;
    return true;
}

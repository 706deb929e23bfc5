#include "calibration/CCalibration.h"

#include "app/ErrorTrap.h"
#include "app/Ui.h"
#include "calibration/CMath.h"
#include "calibration/FloatFault.h"

#include <algorithm>
#include <cmath>

namespace {

// exp(P(1/f)) approximates the two-sided 95 % quantile of Student's t; constant term first.
const QList<double> kStudentTCoeffs{0.673214, 1.197423, 0.822983, -0.151507};

} // namespace

bool CCalibration::Calculate(double& dblA0, double& dblA1, double& dblYM, double& dblXM,
                             double& dblSX0, double& dblVX0, double& dblXN, double& dblXB,
                             const QList<double>& dblArrayX, const QList<double>& dblArrayY,
                             short intCnt) {
    return Trapped(m_ui, false, [&] {
        if (intCnt < 3) {
            return false;
        }
        CMath& math = m_math;
        Fit fit;
        fit.n = intCnt;
        double sum = 0.0;
        if (!math.ArraySum(sum, dblArrayX, intCnt)) {
            return false;
        }
        fit.xm = dblXM = sum / intCnt;
        if (!math.ArraySum(sum, dblArrayY, intCnt)) {
            return false;
        }
        fit.ym = dblYM = sum / intCnt;
        double qxy = 0.0;
        if (!math.ArrayProductSumOffs(qxy, dblArrayX, dblArrayY, fit.xm, fit.ym, intCnt)) {
            return false;
        }
        if (!math.ArraySquareSumOffs(fit.qx, dblArrayX, fit.xm, intCnt) || fit.qx == 0.0) {
            return false;
        }
        fit.a1 = dblA1 = CheckedDivide(qxy, fit.qx);
        fit.a0 = dblA0 = CheckedResult(fit.ym - fit.a1 * fit.xm);

        double squaredResiduals = 0.0;
        for (short i = 0; i < intCnt; ++i) {
            const double residual = dblArrayX[i] * fit.a1 + fit.a0 - dblArrayY[i];
            squaredResiduals = CheckedResult(squaredResiduals + residual * residual);
        }
        fit.sy = CheckedSqrt(squaredResiduals / (intCnt - 2));
        if (fit.a1 == 0.0) {
            return false;
        }
        dblSX0 = CheckedDivide(fit.sy, fit.a1);
        dblVX0 = CheckedDivide(CheckedResult(dblSX0 * 100.0), fit.xm);
        if (!StudentT(fit.t, intCnt - 2)) {
            return false;
        }

        const double criticalSignal = fit.a0 + SignalHalfWidthAtY(fit, fit.a0);
        dblXN = CheckedResult(2.0 * ConfHalfWidthAtY(fit, criticalSignal));

        const double xNG = ConfHalfWidthAtX(fit, 0.0);
        const double yB = CheckedResult(fit.a0 + 2.0 * SignalHalfWidthAtX(fit, xNG));
        dblXB = CheckedResult(ConfHalfWidthAtY(fit, yB) + ConcFromSignal(fit, yB));
        return true;
    });
}

bool CCalibration::CheckMeasRange(float sngMRB, float sngMRE, float sngE0, float sngSlope) {
    return Trapped(m_ui, false, [&] {
        if (sngSlope == 0.0f) {
            return false;
        }
        const float atUpperExtinction = CheckedDivide(2.0f - sngE0, sngSlope);
        const float atLowerExtinction = CheckedDivide(-0.2f - sngE0, sngSlope);
        const auto [lower, upper] = std::minmax(atUpperExtinction, atLowerExtinction);
        return sngMRE <= upper && sngMRB >= lower;
    });
}

bool CCalibration::StudentT(double& dblT, double dblDegreesOfFreedom) {
    return Trapped(m_ui, false, [&] {
        double exponent = 0.0;
        if (!m_math.PolynomValue(exponent, CheckedDivide(1.0, dblDegreesOfFreedom), kStudentTCoeffs,
                                 4)) {
            return false;
        }
        dblT = CheckedResult(std::exp(exponent));
        return true;
    });
}

// The half-width steps throw on a fault instead of answering 0: a 0 would let Calculate
// report success with a wrong detection or determination limit.

double CCalibration::ConcFromSignal(const Fit& fit, double dblY) {
    return CheckedDivide(dblY - fit.a0, fit.a1);
}

// The prediction half-width in concentration units, given the squared distance from the
// centre of the data already divided by its spread.
static double PredictionHalfWidth(double sy, double t, double a1, short n, double spread) {
    return CheckedResult(CheckedDivide(sy * t, a1) * CheckedSqrt(spread + (1.0 / n + 1.0)));
}

double CCalibration::ConfHalfWidthAtX(const Fit& fit, double dblX) {
    const double spread = CheckedDivide((dblX - fit.xm) * (dblX - fit.xm), fit.qx);
    return PredictionHalfWidth(fit.sy, fit.t, fit.a1, fit.n, spread);
}

double CCalibration::ConfHalfWidthAtY(const Fit& fit, double dblY) {
    const double spread =
        CheckedDivide((dblY - fit.ym) * (dblY - fit.ym), CheckedResult(fit.a1 * fit.qx * fit.a1));
    return PredictionHalfWidth(fit.sy, fit.t, fit.a1, fit.n, spread);
}

double CCalibration::SignalHalfWidthAtY(const Fit& fit, double dblY) {
    return CheckedResult(ConfHalfWidthAtY(fit, dblY) * fit.a1);
}

double CCalibration::SignalHalfWidthAtX(const Fit& fit, double dblX) {
    return CheckedResult(ConfHalfWidthAtX(fit, dblX) * fit.a1);
}

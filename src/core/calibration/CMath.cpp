#include "calibration/CMath.h"

#include "app/ErrorTrap.h"
#include "calibration/FloatFault.h"

namespace {

bool HoldsAtLeast(const QList<double>& array, short intCnt) {
    return array.size() >= intCnt;
}

// Sums term(0) ... term(intCnt - 1); an overflow goes through the trap and gives false.
template <typename Term>
bool Accumulate(Ui& ui, double& result, bool arraysFit, short intCnt, Term term) {
    if (!arraysFit) {
        return false;
    }
    return Trapped(ui, false, [&] {
        double sum = 0.0;
        for (short i = 0; i < intCnt; ++i) {
            sum = CheckedResult(sum + term(i));
        }
        result = sum;
        return true;
    });
}

// Keeps the element that `better` prefers over the running extreme.
template <typename Better>
bool Extreme(double& result, const QList<double>& array, short intCnt, double start,
             Better better) {
    if (!HoldsAtLeast(array, intCnt)) {
        return false;
    }
    double extreme = start;
    for (short i = 0; i < intCnt; ++i) {
        if (better(array[i], extreme)) {
            extreme = array[i];
        }
    }
    result = extreme;
    return true;
}

} // namespace

bool CMath::ArrayMax(double& dblArrayMax, const QList<double>& dblArray, short intCnt,
                     double dblStart) {
    return Extreme(dblArrayMax, dblArray, intCnt, dblStart,
                   [](double element, double extreme) { return element > extreme; });
}

bool CMath::ArrayMin(double& dblArrayMin, const QList<double>& dblArray, short intCnt,
                     double dblStart) {
    return Extreme(dblArrayMin, dblArray, intCnt, dblStart,
                   [](double element, double extreme) { return element < extreme; });
}

bool CMath::ArraySum(double& dblArraySum, const QList<double>& dblArray, short intCnt) {
    return Accumulate(m_ui, dblArraySum, HoldsAtLeast(dblArray, intCnt), intCnt,
                      [&](short i) { return dblArray[i]; });
}

bool CMath::ArraySquareSumOffs(double& dblArraySquareSumOffs, const QList<double>& dblArray,
                               double dblOffs, short intCnt) {
    return Accumulate(m_ui, dblArraySquareSumOffs, HoldsAtLeast(dblArray, intCnt), intCnt,
                      [&](short i) {
                          const double d = dblArray[i] - dblOffs;
                          return d * d;
                      });
}

bool CMath::ArrayProductSumOffs(double& dblArrayProductSumOffs, const QList<double>& dblArrayX,
                                const QList<double>& dblArrayY, double dblOffsX, double dblOffsY,
                                short intCnt) {
    const bool fit = HoldsAtLeast(dblArrayX, intCnt) && HoldsAtLeast(dblArrayY, intCnt);
    return Accumulate(m_ui, dblArrayProductSumOffs, fit, intCnt, [&](short i) {
        return (dblArrayX[i] - dblOffsX) * (dblArrayY[i] - dblOffsY);
    });
}

bool CMath::PolynomValue(double& dblPolynomValue, double dblX, const QList<double>& dblCoeffs,
                         short intPolyOrder) {
    if (!HoldsAtLeast(dblCoeffs, intPolyOrder)) {
        return false;
    }
    return Trapped(m_ui, false, [&] {
        double value = 0.0;
        for (int i = intPolyOrder - 1; i >= 0; --i) {
            value = CheckedResult(value * dblX + dblCoeffs[i]);
        }
        dblPolynomValue = value;
        return true;
    });
}

#pragma once

#include <QList>

class Ui;

// Sums, extremes and polynomial values over arrays of doubles. Every function checks that
// the array holds at least intCnt elements (else false, result untouched) and writes its
// result to the first argument. Arithmetic faults go through the error trap (false).
class CMath {
public:
    explicit CMath(Ui& ui) : m_ui(ui) {}

    // The running maximum starts at dblStart; an element replaces it when strictly greater.
    bool ArrayMax(double& dblArrayMax, const QList<double>& dblArray, short intCnt,
                  double dblStart);
    // The running minimum starts at dblStart; an element replaces it when strictly smaller.
    bool ArrayMin(double& dblArrayMin, const QList<double>& dblArray, short intCnt,
                  double dblStart);
    bool ArraySum(double& dblArraySum, const QList<double>& dblArray, short intCnt);
    // Sum of (a[i] - dblOffs)^2.
    bool ArraySquareSumOffs(double& dblArraySquareSumOffs, const QList<double>& dblArray,
                            double dblOffs, short intCnt);
    // Sum of (x[i] - dblOffsX) * (y[i] - dblOffsY); both arrays must be long enough.
    bool ArrayProductSumOffs(double& dblArrayProductSumOffs, const QList<double>& dblArrayX,
                             const QList<double>& dblArrayY, double dblOffsX, double dblOffsY,
                             short intCnt);
    // Horner scheme over intPolyOrder coefficients, dblCoeffs[i] belonging to x^i.
    bool PolynomValue(double& dblPolynomValue, double dblX, const QList<double>& dblCoeffs,
                      short intPolyOrder);

private:
    Ui& m_ui;
};

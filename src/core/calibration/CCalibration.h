#pragma once

#include <QList>

class CMath;
class Ui;

// The calibration line of a user-defined program: least-squares fit of extinctions (y) to
// concentrations (x) with the line's statistical characteristics, and the check of a
// measuring range against the meter's photometric range. Keeps no state between calls.
class CCalibration {
public:
    CCalibration(CMath& math, Ui& ui) : m_math(math), m_ui(ui) {}

    // Outputs (all eight) are valid only when the result is true. False without a message
    // for fewer than 3 pairs, arrays shorter than intCnt, equal concentrations or a zero
    // slope; an arithmetic fault (e.g. a mean concentration of 0) goes through the trap.
    bool Calculate(double& dblA0, double& dblA1, double& dblYM, double& dblXM, double& dblSX0,
                   double& dblVX0, double& dblXN, double& dblXB, const QList<double>& dblArrayX,
                   const QList<double>& dblArrayY, short intCnt);

    // True when the range fits between the concentrations at -0.2 E and 2.0 E, in single
    // precision; a negative slope works too (the bounds are sorted).
    bool CheckMeasRange(float sngMRB, float sngMRE, float sngE0, float sngSlope);

private:
    // What every half-width of one fitted line depends on.
    struct Fit {
        double a0 = 0, a1 = 0, xm = 0, ym = 0, qx = 0, sy = 0, t = 0;
        short n = 0;
    };

    bool StudentT(double& dblT, double dblDegreesOfFreedom);
    static double ConcFromSignal(const Fit& fit, double dblY);
    static double ConfHalfWidthAtX(const Fit& fit, double dblX);
    static double ConfHalfWidthAtY(const Fit& fit, double dblY);
    static double SignalHalfWidthAtY(const Fit& fit, double dblY);
    static double SignalHalfWidthAtX(const Fit& fit, double dblX);

    CMath& m_math;
    Ui& m_ui;
};

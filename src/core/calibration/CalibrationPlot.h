#pragma once

#include "app/AxisTicks.h"

#include <QLineF>
#include <QList>
#include <QPointF>
#include <QString>

class CMath;

// What the calibration plot shows, in data coordinates: the horizontal axis runs from 0 to
// the largest concentration, the vertical one from 0 (or the smallest negative extinction)
// to the largest extinction, both widened to their last round tick; one mark per pair, the
// line over the concentrations of the pairs, its equation and R².
struct CalibrationPlot {
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
    QList<QPointF> marks;
    QLineF line;
    QList<double> xTicks; // round values from 0 to xMax, grid lines and labels
    QList<double> yTicks; // round values from yMin to yMax
    double a0 = 0.0;
    double a1 = 0.0;
    double r2 = 0.0; // coefficient of determination of the pairs about the line

    // The horizontal axis sits at Y = 0 when the vertical axis reaches below 0.
    bool AxisAtZero() const { return yMin < 0.0; }
};

// False when the pairs leave an axis without extent (e.g. no positive concentration):
// such a plot cannot be scaled, and the editor reports it.
bool MakeCalibrationPlot(CMath& math, const QList<double>& dblArrayX,
                         const QList<double>& dblArrayY, short intCnt, double dblA0, double dblA1,
                         CalibrationPlot& plot);

// R² = 1 - (sum of squared residuals about y = a0 + a1 x) / (sum of squares about the mean
// of y); 1 when every extinction is the same and on the line, 0 when the same but off it.
double CoefficientOfDetermination(const QList<double>& x, const QList<double>& y, int count,
                                  double a0, double a1);

// "E = 1.99 C + 0.05": at most four significant digits, "." as separator, the sign of
// the offset in front of it.
QString LineEquation(double a0, double a1);
// "R² = 0.9973"
QString DeterminationText(double r2);

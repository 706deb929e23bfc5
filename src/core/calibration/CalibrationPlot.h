#pragma once

#include <QLineF>
#include <QList>
#include <QPointF>

class CMath;

// What the calibration plot shows, in data coordinates: the horizontal axis runs from 0 to
// the largest concentration, the vertical one from 0 (or the smallest negative extinction)
// to the largest extinction; one mark per pair and the line from (0, A0) to the end of the
// horizontal axis.
struct CalibrationPlot {
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
    QList<QPointF> marks;
    QLineF line;

    // The horizontal axis sits at Y = 0 when the vertical axis reaches below 0.
    bool AxisAtZero() const { return yMin < 0.0; }
};

// False when the pairs leave an axis without extent (e.g. no positive concentration):
// such a plot cannot be scaled, and the editor reports it.
bool MakeCalibrationPlot(CMath& math, const QList<double>& dblArrayX,
                         const QList<double>& dblArrayY, short intCnt, double dblA0, double dblA1,
                         CalibrationPlot& plot);

#pragma once

#include "qc/QcJudge.h"

#include <QList>
#include <QString>
#include <QStringList>

// What a Levey-Jennings chart of a control shows: each point's z (the value in standard
// deviations from the target of the version in force, so that the target and ±1s, ±2s, ±3s
// stay straight lines across versions) against the meter's date and time, its worst rule, the
// dates from which a new version holds, and the ticks of both axes.
struct QcChart {
    enum class Level { Pass, Warning, Rejection };
    struct Point {
        double x = 0.0;       // RecordClockSeconds of the meter's date and time
        double y = 0.0;       // z, held inside the plot's range
        bool clipped = false; // z lay beyond the range and is drawn at its edge
        Level level = Level::Pass;
        qsizetype index = 0; // into the judgement's points
    };

    QList<Point> points;
    QList<double> versionMarks; // x of each version's first day inside the range
    double xMin = 0.0, xMax = 0.0, yMin = -4.0, yMax = 4.0;
    QList<double> xTicks;
    QStringList xLabels;

    bool IsEmpty() const { return points.isEmpty(); }
    // The point nearest to x, y (data coordinates) within `dx`, `dy`, or -1.
    qsizetype Nearest(double x, double y, double dx, double dy) const;

    static QcChart Of(const QcControl& control, const QcJudgement& judgement);
    static Level LevelOf(unsigned flags);
};

#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QFontMetrics;
class QPainter;
class QPalette;
class Ui;

// The axes of a plot in data coordinates: their ranges, the ticks with their labels (an
// x label may hold several lines). Both plots of the program draw their frame with it.
struct PlotAxes {
    double xMin = 0.0;
    double xMax = 1.0;
    double yMin = 0.0;
    double yMax = 1.0;
    QList<double> xTicks;
    QStringList xLabels;
    QList<double> yTicks;
    QStringList yLabels;

    // Painter coordinates of a point in data coordinates.
    QPointF Map(const QRectF& area, double x, double y) const;
    // The area inside `bounds` left for the data: room for the y labels on the left, the x
    // labels below, `linesAbove` text lines on top and `rightMargin` pixels on the right.
    QRectF Area(const QFontMetrics& metrics, const QRectF& bounds, int linesAbove,
                double rightMargin) const;
    // Grid lines at the ticks, their labels, the vertical axis at the left edge and the
    // horizontal one at Y = `axisY` (the bottom edge when outside the range).
    void DrawGrid(QPainter& painter, const QRectF& area, const QPalette& palette,
                  double axisY) const;
    // Text lines of the tallest x label.
    int XLabelLines() const;
};

// A tick label: "." as separator, no trailing zeros ("0.2", "1500").
QString AxisLabel(double value);

// Draws a plot with `render` into a PNG picture of `size` on `background`; false when the
// file cannot be written.
bool SavePlotPng(const QString& path, const QSize& size, const QColor& background,
                 const std::function<void(QPainter&, const QRectF&)>& render);

// The save dialog of a plot picture ("png" or "svg"): "Enregistrer sous", the picture type,
// the proposed name. Nothing when cancelled.
std::optional<QString> AskPlotFile(Ui& ui, const QString& extension,
                                   const QString& proposedName = {});
// The failure of writing a plot picture, as a run-time error for the window's trap.
[[noreturn]] void ThrowPlotNotSaved(const QString& path);

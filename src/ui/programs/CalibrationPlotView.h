#pragma once

#include "calibration/CalibrationPlot.h"

#include <QWidget>
#include <optional>

// The calibration plot of the program editor: axes with their end values, a dotted cross
// at every pair and the calibration line. Empty until a plot is set.
class CalibrationPlotView : public QWidget {
    Q_OBJECT
public:
    explicit CalibrationPlotView(QWidget* parent = nullptr);

    void SetPlot(const CalibrationPlot& plot);
    void Clear();
    bool HasPlot() const { return m_plot.has_value(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Widget coordinates of a point in data coordinates.
    QPointF Map(const QRectF& area, double x, double y) const;
    void DrawAxes(class QPainter& painter, const QRectF& area) const;
    void DrawMarks(class QPainter& painter, const QRectF& area) const;

    std::optional<CalibrationPlot> m_plot;
};

// The axis labels: "0.000" with "." as separator.
QString AxisLabel(double value);

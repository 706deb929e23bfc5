#pragma once

#include "qc/QcChart.h"

#include <QRectF>
#include <QWidget>
#include <functional>

class QPainter;
struct PlotAxes;

// A control's Levey-Jennings chart: the target and the ±1s, ±2s, ±3s lines, the points
// coloured by their worst rule (a rejection red, a warning orange), a point beyond the plot
// as a triangle at its edge, the dates of new versions as dashed vertical lines. A point under
// the mouse tells its record, date, value, z and rules.
class QcChartView : public QWidget {
    Q_OBJECT
public:
    explicit QcChartView(QWidget* parent = nullptr);

    // The control and its judged points; the chart keeps its own copies.
    void SetJudgement(const QcControl& control, const QcJudgement& judgement);
    const QcChart& Chart() const { return m_chart; }
    const QcControl& Control() const { return m_control; }
    const QcJudgement& Judgement() const { return m_judgement; }
    // The text that tells the point `index` of the judgement (hover, tool tip).
    QString PointText(qsizetype index) const;
    // The judgement's point nearest to `at` (widget coordinates) within a few pixels, or -1.
    qsizetype PointAt(const QPointF& at) const;

    // The chart at `size` into a PNG or an SVG file (by the name's extension); false when
    // there is nothing to draw or the file cannot be written.
    bool SaveImage(const QString& path, const QSize& size) const;
    // Draws the chart into `bounds` (the widget, a printed report's page, a picture); the
    // plot's area inside it, empty when there is nothing to plot.
    QRectF Render(QPainter& painter, const QRectF& bounds) const;

    QSize sizeHint() const override { return {800, 420}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void DrawLimits(QPainter& painter, const PlotAxes& axes, const QRectF& area) const;
    void DrawPoints(QPainter& painter, const PlotAxes& axes, const QRectF& area) const;

    QcControl m_control;
    QcJudgement m_judgement;
    QcChart m_chart;
    QRectF m_paintedArea; // where the last paint on screen put the plot
};

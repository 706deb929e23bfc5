#pragma once

#include "data/DatasetGraph.h"
#include "ui/app/PlotPainting.h"

#include <QList>
#include <QRectF>
#include <QWidget>
#include <functional>

class QPainter;

// The dataset graph: the plotted column against the records' date and time, one coloured
// line with its own marks per program or parameter, flagged values as crosses, a legend on
// the right, round ticks and grid lines. Empty until a graph with points is set. A click on a
// legend entry hides or shows its series, and the value axis scales to the series shown; a point
// under the mouse tells its record.
class DatasetGraphView : public QWidget {
    Q_OBJECT
public:
    explicit DatasetGraphView(QWidget* parent = nullptr);

    // `timeTitle` names the horizontal axis.
    void SetGraph(const DatasetGraph& graph, const QString& timeTitle);
    // Every series, hidden or not, and those drawn.
    const DatasetGraph& Graph() const { return m_graph; }
    const DatasetGraph& Shown() const { return m_shown; }
    // Hides or shows series `index`; the axes follow.
    void ToggleSeries(qsizetype index);
    // The text that tells the record of a point, given its row (GraphSeries::rows).
    void SetRecordText(std::function<QString(int row)> text) { m_recordText = std::move(text); }
    // The series whose legend entry is at `at` (widget coordinates), or -1.
    qsizetype LegendEntryAt(const QPointF& at) const;
    // The row of the point nearest to `at` within a few pixels, or -1.
    int RowAt(const QPointF& at) const;

    // Draws the graph at `size` into a PNG file; false when there is no graph or the file
    // cannot be written.
    bool SaveImage(const QString& path, const QSize& size) const;

    QSize sizeHint() const override { return {800, 500}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Render(QPainter& painter, const QRectF& bounds) const;
    PlotAxes Axes() const;
    // Width of the legend in the painter's font, at most a third of `bounds`.
    double LegendWidth(QPainter& painter, const QRectF& bounds) const;
    void DrawSeries(QPainter& painter, const PlotAxes& axes, const QRectF& area) const;
    void DrawLegend(QPainter& painter, const QRectF& area, double width) const;

    DatasetGraph m_graph;
    DatasetGraph m_shown; // the series not hidden, on their own axes
    QList<bool> m_visible;
    QString m_timeTitle;
    std::function<QString(int)> m_recordText;
    // Where the last paint on screen put the plot and the legend entries.
    QRectF m_area;
    QList<QRectF> m_legendEntries;
    mutable QRectF m_paintedArea; // set by every Render, kept from the last one on screen
    mutable QList<QRectF> m_paintedLegend;
};

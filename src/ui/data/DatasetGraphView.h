#pragma once

#include "data/DatasetGraph.h"
#include "ui/app/PlotPainting.h"

#include <QWidget>

class QPainter;

// The dataset graph: the plotted column against the records' date and time, one coloured
// line with its own marks per program or parameter, a legend on the right, round ticks
// and grid lines. Empty until a graph with points is set.
class DatasetGraphView : public QWidget {
    Q_OBJECT
public:
    explicit DatasetGraphView(QWidget* parent = nullptr);

    // `timeTitle` names the horizontal axis.
    void SetGraph(const DatasetGraph& graph, const QString& timeTitle);
    const DatasetGraph& Graph() const { return m_graph; }

    // Draws the graph at `size` into a PNG file; false when there is no graph or the file
    // cannot be written.
    bool SaveImage(const QString& path, const QSize& size) const;

    QSize sizeHint() const override { return {800, 500}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Render(QPainter& painter, const QRectF& bounds) const;
    PlotAxes Axes() const;
    // Width of the legend in the painter's font, at most a third of `bounds`.
    double LegendWidth(QPainter& painter, const QRectF& bounds) const;
    void DrawSeries(QPainter& painter, const PlotAxes& axes, const QRectF& area) const;
    void DrawLegend(QPainter& painter, const QRectF& area, double width) const;

    DatasetGraph m_graph;
    QString m_timeTitle;
};

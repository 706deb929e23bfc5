#pragma once

#include "calibration/CalibrationPlot.h"
#include "ui/app/PlotPainting.h"

#include <QWidget>
#include <optional>

class QAction;
class QPainter;

// The calibration plot of the program editor: axes with round ticks and grid lines, a mark
// at every pair, the calibration line over the pairs' concentrations, its equation and R².
// Empty until a plot is set. Its context menu saves the picture as PNG or SVG through
// saveRequested (the editor asks for the file).
class CalibrationPlotView : public QWidget {
    Q_OBJECT
public:
    explicit CalibrationPlotView(QWidget* parent = nullptr);

    void SetPlot(const CalibrationPlot& plot);
    void Clear();
    bool HasPlot() const { return m_plot.has_value(); }

    // Draws the plot at `size` into a PNG file or, for a ".svg" name, an SVG drawing.
    // False when there is no plot or the file cannot be written.
    bool SaveImage(const QString& path, const QSize& size = {640, 440}) const;

    QSize sizeHint() const override;

    QAction* savePngAction = nullptr;
    QAction* saveSvgAction = nullptr;

signals:
    void saveRequested(const QString& extension); // "png" or "svg"

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Render(QPainter& painter, const QRectF& bounds) const;
    PlotAxes Axes() const;

    std::optional<CalibrationPlot> m_plot;
};

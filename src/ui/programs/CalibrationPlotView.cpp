#include "ui/programs/CalibrationPlotView.h"

#include "app/TextTables.h"
#include "ui/app/PlotPainting.h"

#include <QAction>
#include <QFontMetrics>
#include <QPainter>
#include <QSvgGenerator>

namespace {

constexpr double kMarkRadius = 3.5;
constexpr int kGap = 4;

} // namespace

CalibrationPlotView::CalibrationPlotView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picCalLine"));
    setMinimumSize(220, 160);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    savePngAction = new QAction(LoadResString(1247), this);
    saveSvgAction = new QAction(LoadResString(1248), this);
    savePngAction->setObjectName(QStringLiteral("mnuPlotSavePng"));
    saveSvgAction->setObjectName(QStringLiteral("mnuPlotSaveSvg"));
    addAction(savePngAction);
    addAction(saveSvgAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(savePngAction, &QAction::triggered, this,
            [this] { emit saveRequested(QStringLiteral("png")); });
    connect(saveSvgAction, &QAction::triggered, this,
            [this] { emit saveRequested(QStringLiteral("svg")); });
    savePngAction->setEnabled(false);
    saveSvgAction->setEnabled(false);
}

QSize CalibrationPlotView::sizeHint() const {
    return {320, 220};
}

void CalibrationPlotView::SetPlot(const CalibrationPlot& plot) {
    m_plot = plot;
    savePngAction->setEnabled(true);
    saveSvgAction->setEnabled(true);
    update();
}

void CalibrationPlotView::Clear() {
    m_plot.reset();
    savePngAction->setEnabled(false);
    saveSvgAction->setEnabled(false);
    update();
}

bool CalibrationPlotView::SaveImage(const QString& path, const QSize& size) const {
    if (!m_plot) {
        return false;
    }
    const QColor background = palette().color(QPalette::Base);
    const auto render = [this](QPainter& painter, const QRectF& bounds) {
        Render(painter, bounds);
    };
    if (!path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        return SavePlotPng(path, size, background, render);
    }
    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(bounds);
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    painter.fillRect(bounds, background);
    Render(painter, bounds);
    return painter.end();
}

PlotAxes CalibrationPlotView::Axes() const {
    PlotAxes axes;
    axes.xMin = 0.0;
    axes.xMax = m_plot->xMax;
    axes.yMin = m_plot->yMin;
    axes.yMax = m_plot->yMax;
    axes.xTicks = m_plot->xTicks;
    axes.yTicks = m_plot->yTicks;
    for (const double tick : axes.xTicks) {
        axes.xLabels.append(AxisLabel(tick));
    }
    for (const double tick : axes.yTicks) {
        axes.yLabels.append(AxisLabel(tick));
    }
    return axes;
}

void CalibrationPlotView::paintEvent(QPaintEvent*) {
    if (!m_plot) {
        return;
    }
    QPainter painter(this);
    Render(painter, rect());
}

void CalibrationPlotView::Render(QPainter& painter, const QRectF& bounds) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const PlotAxes axes = Axes();
    // One text line on top for the equation and R².
    const QRectF area = axes.Area(metrics, bounds, 1, 0);
    // The horizontal axis sits at Y = 0 when the extinctions reach below it.
    axes.DrawGrid(painter, area, palette(), m_plot->AxisAtZero() ? 0.0 : m_plot->yMin);
    painter.save();
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    painter.drawLine(QLineF(axes.Map(area, m_plot->line.x1(), m_plot->line.y1()),
                            axes.Map(area, m_plot->line.x2(), m_plot->line.y2())));
    painter.restore();
    // The pairs on top of the line, so that their distance from it shows.
    painter.setPen(QPen(palette().color(QPalette::Text), 1));
    painter.setBrush(palette().color(QPalette::Base));
    for (const QPointF& mark : m_plot->marks) {
        painter.drawEllipse(axes.Map(area, mark.x(), mark.y()), kMarkRadius, kMarkRadius);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QPointF(area.left() + kGap, bounds.top() + kGap + metrics.ascent()),
                     LineEquation(m_plot->a0, m_plot->a1) + QStringLiteral("    ") +
                         DeterminationText(m_plot->r2));
}

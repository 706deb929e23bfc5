#include "ui/programs/CalibrationPlotView.h"

#include "app/StringTable.h"

#include <QAction>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

namespace {

constexpr double kMarkRadius = 3.5;
constexpr int kGap = 4;

} // namespace

QString AxisLabel(double value) {
    return QString::number(value, 'g', 6);
}

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
    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(bounds);
        QPainter painter;
        if (!painter.begin(&svg)) {
            return false;
        }
        painter.fillRect(bounds, palette().color(QPalette::Base));
        Render(painter, bounds);
        return painter.end();
    }
    QImage image(size, QImage::Format_ARGB32);
    image.fill(palette().color(QPalette::Base));
    {
        QPainter painter(&image);
        Render(painter, bounds);
    }
    return image.save(path, "PNG");
}

QPointF CalibrationPlotView::Map(const QRectF& area, double x, double y) const {
    const double fx = x / m_plot->xMax;
    const double fy = (y - m_plot->yMin) / (m_plot->yMax - m_plot->yMin);
    return {area.left() + fx * area.width(), area.bottom() - fy * area.height()};
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
    int labelWidth = 0;
    for (const double tick : m_plot->yTicks) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(AxisLabel(tick)));
    }
    const double lastX = metrics.horizontalAdvance(AxisLabel(m_plot->xTicks.back())) / 2.0;
    // One text line on top for the equation and R², one below for the x labels.
    const QRectF area(bounds.left() + labelWidth + 2 * kGap,
                      bounds.top() + metrics.height() + 2 * kGap,
                      bounds.width() - labelWidth - 3 * kGap - lastX,
                      bounds.height() - 2 * metrics.height() - 4 * kGap);
    DrawGrid(painter, area);
    painter.save();
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    painter.drawLine(QLineF(Map(area, m_plot->line.x1(), m_plot->line.y1()),
                            Map(area, m_plot->line.x2(), m_plot->line.y2())));
    painter.restore();
    // The pairs on top of the line, so that their distance from it shows.
    DrawMarks(painter, area);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QPointF(area.left() + kGap, bounds.top() + kGap + metrics.ascent()),
                     LineEquation(m_plot->a0, m_plot->a1) + QStringLiteral("    ") +
                         DeterminationText(m_plot->r2));
}

void CalibrationPlotView::DrawGrid(QPainter& painter, const QRectF& area) const {
    const QFontMetrics metrics(font());
    const QColor text = palette().color(QPalette::Text);
    QColor grid = text;
    grid.setAlpha(45);
    for (const double tick : m_plot->xTicks) {
        const double x = Map(area, tick, 0.0).x();
        painter.setPen(QPen(grid, 1));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.setPen(text);
        const QString label = AxisLabel(tick);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(label) / 2.0,
                                 area.bottom() + kGap + metrics.ascent()),
                         label);
    }
    for (const double tick : m_plot->yTicks) {
        const double y = Map(area, 0.0, tick).y();
        painter.setPen(QPen(grid, 1));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(text);
        const QString label = AxisLabel(tick);
        painter.drawText(QPointF(area.left() - kGap - metrics.horizontalAdvance(label),
                                 y + metrics.ascent() / 2.0 - 1),
                         label);
    }
    painter.setPen(QPen(text, 1));
    // The horizontal axis sits at Y = 0 when the extinctions reach below it.
    const double axisY = m_plot->AxisAtZero() ? Map(area, 0.0, 0.0).y() : area.bottom();
    painter.drawLine(QPointF(area.left(), axisY), QPointF(area.right(), axisY));
    painter.drawLine(area.topLeft(), area.bottomLeft());
}

void CalibrationPlotView::DrawMarks(QPainter& painter, const QRectF& area) const {
    painter.setPen(QPen(palette().color(QPalette::Text), 1));
    painter.setBrush(palette().color(QPalette::Base));
    for (const QPointF& mark : m_plot->marks) {
        painter.drawEllipse(Map(area, mark.x(), mark.y()), kMarkRadius, kMarkRadius);
    }
    painter.setBrush(Qt::NoBrush);
}

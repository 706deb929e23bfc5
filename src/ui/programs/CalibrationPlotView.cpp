#include "ui/programs/CalibrationPlotView.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr double kMarkHalfLength = 9.0;
constexpr int kGap = 4;

} // namespace

QString AxisLabel(double value) {
    return QString::number(value, 'f', 3);
}

CalibrationPlotView::CalibrationPlotView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picCalLine"));
    setMinimumSize(220, 160);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

QSize CalibrationPlotView::sizeHint() const {
    return {320, 220};
}

void CalibrationPlotView::SetPlot(const CalibrationPlot& plot) {
    m_plot = plot;
    update();
}

void CalibrationPlotView::Clear() {
    m_plot.reset();
    update();
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
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const int labelWidth = std::max(metrics.horizontalAdvance(AxisLabel(m_plot->yMax)),
                                    metrics.horizontalAdvance(AxisLabel(m_plot->yMin)));
    const QRectF area(labelWidth + 2 * kGap, metrics.height(),
                      width() - labelWidth - 3 * kGap -
                          metrics.horizontalAdvance(AxisLabel(m_plot->xMax)) / 2,
                      height() - 2 * metrics.height() - 2 * kGap);
    DrawAxes(painter, area);
    painter.save();
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    painter.drawLine(QLineF(Map(area, m_plot->line.x1(), m_plot->line.y1()),
                            Map(area, m_plot->line.x2(), m_plot->line.y2())));
    painter.restore();
    // The pairs on top of the line, so that their distance from it shows.
    DrawMarks(painter, area);
}

void CalibrationPlotView::DrawAxes(QPainter& painter, const QRectF& area) const {
    painter.setPen(QPen(palette().color(QPalette::Text), 1));
    // The horizontal axis sits at Y = 0 when the extinctions reach below it.
    const double axisY = m_plot->AxisAtZero() ? Map(area, 0.0, 0.0).y() : area.bottom();
    painter.drawLine(QPointF(area.left(), axisY), QPointF(area.right(), axisY));
    painter.drawLine(area.topLeft(), area.bottomLeft());
    const QFontMetrics metrics(font());
    const int textY = static_cast<int>(axisY) + kGap + metrics.ascent();
    painter.drawText(QPointF(area.left() - metrics.horizontalAdvance(AxisLabel(0.0)) / 2.0, textY),
                     AxisLabel(0.0));
    const QString xEnd = AxisLabel(m_plot->xMax);
    painter.drawText(QPointF(area.right() - metrics.horizontalAdvance(xEnd) / 2.0, textY), xEnd);
    const QString yTop = AxisLabel(m_plot->yMax);
    painter.drawText(QPointF(area.left() - kGap - metrics.horizontalAdvance(yTop),
                             area.top() + metrics.ascent() / 2.0),
                     yTop);
    const QString yBottom = AxisLabel(m_plot->yMin);
    painter.drawText(QPointF(area.left() - kGap - metrics.horizontalAdvance(yBottom),
                             area.bottom() + metrics.ascent() / 2.0),
                     yBottom);
}

void CalibrationPlotView::DrawMarks(QPainter& painter, const QRectF& area) const {
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    for (const QPointF& mark : m_plot->marks) {
        const QPointF at = Map(area, mark.x(), mark.y());
        painter.drawLine(at - QPointF(kMarkHalfLength, 0), at + QPointF(kMarkHalfLength, 0));
        painter.drawLine(at - QPointF(0, kMarkHalfLength), at + QPointF(0, kMarkHalfLength));
    }
}

#include "ui/data/DatasetGraphView.h"

#include "app/TextTables.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <array>

namespace {

constexpr int kGap = 6;
constexpr double kMarkSize = 3.5;
constexpr int kSwatchWidth = 28;
// Beyond this many points a series is drawn as its line alone: marks would hide it.
constexpr qsizetype kMaxMarkedPoints = 300;
// The graph's font grows with a saved picture wider than this.
constexpr double kFontWidth = 900.0;
// How near the mouse must come to a point to tell its record, in pixels.
constexpr double kHoverDistance = 8.0;

// Colours that stay apart on screen and in print, then the shapes of the marks, so that
// series also differ in a grey printout.
const std::array<QColor, 10> kColours = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                         QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                         QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                         QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f),
                                         QColor(0xbc, 0xbd, 0x22), QColor(0x17, 0xbe, 0xcf)};
constexpr int kShapes = 4;

QColor SeriesColour(qsizetype index) {
    return kColours[size_t(index) % kColours.size()];
}

void DrawMark(QPainter& painter, const QPointF& at, qsizetype index) {
    const double r = kMarkSize;
    switch (index % kShapes) {
    case 0:
        painter.drawEllipse(at, r, r);
        break;
    case 1:
        painter.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
        break;
    case 2:
        painter.drawPolygon(QPolygonF{
            {at.x(), at.y() - r - 1}, {at.x() + r + 1, at.y() + r}, {at.x() - r - 1, at.y() + r}});
        break;
    default:
        painter.drawPolygon(QPolygonF{{at.x(), at.y() - r - 1},
                                      {at.x() + r + 1, at.y()},
                                      {at.x(), at.y() + r + 1},
                                      {at.x() - r - 1, at.y()}});
        break;
    }
}

// A flagged value ("> MR", "Err") is a cross, larger than any series' mark and drawn even
// where the series has too many points to mark them all: the exceptions stay visible.
void DrawFlaggedMark(QPainter& painter, const QPointF& at) {
    const double r = kMarkSize + 1.5;
    painter.drawLine(at + QPointF(-r, -r), at + QPointF(r, r));
    painter.drawLine(at + QPointF(-r, r), at + QPointF(r, -r));
}

} // namespace

DatasetGraphView::DatasetGraphView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picGraph"));
    setMinimumSize(320, 220);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void DatasetGraphView::SetGraph(const DatasetGraph& graph, const QString& timeTitle) {
    m_graph = graph;
    m_visible = QList<bool>(graph.series.size(), true);
    m_shown = graph;
    m_timeTitle = timeTitle;
    m_legendEntries.clear();
    update();
}

void DatasetGraphView::ToggleSeries(qsizetype index) {
    if (index < 0 || index >= m_visible.size()) {
        return;
    }
    m_visible[index] = !m_visible[index];
    m_shown = PartOfGraph(m_graph, m_visible);
    if (m_shown.IsEmpty()) {
        // Nothing left to scale to: the axes stay, with the legend to click a series back.
        m_shown = m_graph;
        m_shown.series.clear();
        m_shown.flagged = 0;
    }
    update();
}

qsizetype DatasetGraphView::LegendEntryAt(const QPointF& at) const {
    for (qsizetype i = 0; i < m_legendEntries.size(); ++i) {
        if (m_legendEntries[i].contains(at)) {
            return i;
        }
    }
    return -1;
}

int DatasetGraphView::RowAt(const QPointF& at) const {
    if (m_shown.IsEmpty() || m_area.isEmpty()) {
        return -1;
    }
    const PlotAxes axes = Axes();
    double best = kHoverDistance * kHoverDistance;
    int row = -1;
    for (const GraphSeries& series : m_shown.series) {
        for (qsizetype i = 0; i < series.points.size(); ++i) {
            const QPointF p = axes.Map(m_area, series.points[i].x(), series.points[i].y());
            const QPointF d = p - at;
            const double distance = d.x() * d.x() + d.y() * d.y();
            if (distance <= best) {
                best = distance;
                row = series.rows.value(i, -1);
            }
        }
    }
    return row;
}

void DatasetGraphView::mousePressEvent(QMouseEvent* event) {
    const qsizetype entry = LegendEntryAt(event->position());
    if (event->button() == Qt::LeftButton && entry >= 0) {
        ToggleSeries(entry);
        return;
    }
    QWidget::mousePressEvent(event);
}

bool DatasetGraphView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int row = RowAt(help->pos());
        if (row >= 0 && m_recordText) {
            QToolTip::showText(help->globalPos(), m_recordText(row), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

bool DatasetGraphView::SaveImage(const QString& path, const QSize& size) const {
    if (m_shown.IsEmpty()) {
        return false;
    }
    return SavePlotPng(
        path, size, palette().color(QPalette::Base), [&](QPainter& painter, const QRectF& bounds) {
            QFont larger = font();
            larger.setPointSizeF(font().pointSizeF() * std::max(1.0, size.width() / kFontWidth));
            painter.setFont(larger);
            Render(painter, bounds);
        });
}

void DatasetGraphView::paintEvent(QPaintEvent*) {
    if (m_graph.IsEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    Render(painter, rect());
    m_legendEntries = m_paintedLegend;
    m_area = m_paintedArea;
}

PlotAxes DatasetGraphView::Axes() const {
    PlotAxes axes;
    axes.xMin = m_shown.xMin;
    axes.xMax = m_shown.xMax;
    axes.yMin = m_shown.yMin;
    axes.yMax = m_shown.yMax;
    axes.xTicks = m_shown.xTicks;
    axes.xLabels = m_shown.xLabels;
    axes.yTicks = m_shown.yTicks;
    for (const double tick : axes.yTicks) {
        axes.yLabels.append(AxisLabel(tick));
    }
    return axes;
}

double DatasetGraphView::LegendWidth(QPainter& painter, const QRectF& bounds) const {
    const QFontMetrics metrics(painter.font());
    int widest = m_shown.flagged > 0 ? metrics.horizontalAdvance(LoadResString(1639)) : 0;
    for (const GraphSeries& series : m_graph.series) {
        widest = std::max(widest, metrics.horizontalAdvance(series.name));
    }
    return std::min(double(widest + kSwatchWidth + 7 * kGap), bounds.width() / 3);
}

void DatasetGraphView::Render(QPainter& painter, const QRectF& bounds) const {
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(painter.font());
    const QColor text = palette().color(QPalette::Text);
    const QRectF inner = bounds.adjusted(2 * kGap, kGap, -2 * kGap, -kGap);
    const PlotAxes axes = Axes();
    const double legend = LegendWidth(painter, inner);
    // The value axis's title on top, the time axis's title under the tick labels.
    const QRectF area = axes.Area(metrics, inner.adjusted(0, 0, 0, -metrics.height()), 1, legend);
    axes.DrawGrid(painter, area, palette(), 0.0);
    painter.setPen(text);
    QString valueTitle = m_shown.title;
    if (!m_shown.unit.isEmpty()) {
        valueTitle += QStringLiteral(" [%1]").arg(m_shown.unit);
    }
    QFont bold = painter.font();
    bold.setBold(true);
    painter.save();
    painter.setFont(bold);
    painter.drawText(QPointF(inner.left(), inner.top() + metrics.ascent()), valueTitle);
    painter.drawText(
        QRectF(area.left(), inner.bottom() - metrics.height(), area.width(), metrics.height()),
        Qt::AlignHCenter | Qt::AlignBottom, m_timeTitle);
    painter.restore();
    DrawSeries(painter, axes, area);
    DrawLegend(painter, area, legend);
    m_paintedArea = area;
}

void DatasetGraphView::DrawSeries(QPainter& painter, const PlotAxes& axes,
                                  const QRectF& area) const {
    painter.save();
    painter.setClipRect(area.adjusted(-kMarkSize - 1, -kMarkSize - 1, kMarkSize + 1, 1));
    for (qsizetype i = 0; i < m_graph.series.size(); ++i) {
        if (!m_visible.value(i, true)) {
            continue;
        }
        const GraphSeries& series = m_graph.series[i];
        QPolygonF line;
        line.reserve(series.points.size());
        for (const QPointF& p : series.points) {
            line.append(axes.Map(area, p.x(), p.y()));
        }
        const QColor colour = SeriesColour(i);
        painter.setPen(QPen(colour, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
        const bool marked = series.points.size() <= kMaxMarkedPoints;
        painter.setBrush(palette().color(QPalette::Base));
        for (qsizetype p = 0; p < line.size(); ++p) {
            if (series.flagged.value(p)) {
                painter.setPen(QPen(colour, 2.0));
                DrawFlaggedMark(painter, line[p]);
                painter.setPen(QPen(colour, 1.5));
            } else if (marked) {
                DrawMark(painter, line[p], i);
            }
        }
    }
    painter.restore();
}

void DatasetGraphView::DrawLegend(QPainter& painter, const QRectF& area, double width) const {
    const QFontMetrics metrics(painter.font());
    const double lineHeight = metrics.height() + kGap / 2.0;
    // The flagged values' mark gets an entry of its own under the series when any is shown.
    const bool flagged = m_shown.flagged > 0;
    const QRectF box(area.right() + 2 * kGap, area.top(), width - 3 * kGap,
                     (m_graph.series.size() + (flagged ? 1 : 0)) * lineHeight + kGap);
    QColor frame = palette().color(QPalette::Text);
    frame.setAlpha(90);
    painter.setPen(QPen(frame, 1));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(box);
    m_paintedLegend.clear();
    for (qsizetype i = 0; i < m_graph.series.size(); ++i) {
        const double y = box.top() + kGap / 2.0 + i * lineHeight + lineHeight / 2;
        const double x = box.left() + kGap;
        m_paintedLegend.append(QRectF(box.left(), y - lineHeight / 2, box.width(), lineHeight));
        // A hidden series keeps its entry, greyed, to be clicked back.
        painter.setOpacity(m_visible.value(i, true) ? 1.0 : 0.3);
        painter.setPen(QPen(SeriesColour(i), 1.5));
        painter.drawLine(QPointF(x, y), QPointF(x + kSwatchWidth, y));
        painter.setBrush(palette().color(QPalette::Base));
        DrawMark(painter, QPointF(x + kSwatchWidth / 2.0, y), i);
        painter.setPen(palette().color(QPalette::Text));
        const QRectF label(x + kSwatchWidth + kGap, y - lineHeight / 2,
                           box.right() - x - kSwatchWidth - 2 * kGap, lineHeight);
        painter.drawText(
            label, Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(m_graph.series[i].name, Qt::ElideRight, int(label.width())));
        painter.setOpacity(1.0);
    }
    if (flagged) {
        const double y =
            box.top() + kGap / 2.0 + m_graph.series.size() * lineHeight + lineHeight / 2;
        const double x = box.left() + kGap;
        painter.setPen(QPen(palette().color(QPalette::Text), 2.0));
        DrawFlaggedMark(painter, QPointF(x + kSwatchWidth / 2.0, y));
        const QRectF label(x + kSwatchWidth + kGap, y - lineHeight / 2,
                           box.right() - x - kSwatchWidth - 2 * kGap, lineHeight);
        painter.drawText(
            label, Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(LoadResString(1639), Qt::ElideRight, int(label.width())));
    }
}

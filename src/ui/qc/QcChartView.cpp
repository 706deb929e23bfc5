#include "ui/qc/QcChartView.h"

#include "app/TextTables.h"
#include "archive/ArchiveRecord.h"
#include "ui/app/PlotPainting.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QToolTip>

namespace {

constexpr double kMarkSize = 4.0;
constexpr double kHoverDistance = 8.0;
const QColor kRejection(0xd6, 0x27, 0x28);
const QColor kWarning(0xff, 0x7f, 0x0e);
const QColor kPass(0x1f, 0x77, 0xb4);

QColor LevelColour(QcChart::Level level) {
    switch (level) {
    case QcChart::Level::Rejection:
        return kRejection;
    case QcChart::Level::Warning:
        return kWarning;
    case QcChart::Level::Pass:
        break;
    }
    return kPass;
}

PlotAxes AxesOf(const QcChart& chart) {
    PlotAxes axes;
    axes.xMin = chart.xMin;
    axes.xMax = chart.xMax;
    axes.yMin = chart.yMin;
    axes.yMax = chart.yMax;
    axes.xTicks = chart.xTicks;
    axes.xLabels = chart.xLabels;
    for (double y = chart.yMin; y <= chart.yMax; y += 1.0) {
        axes.yTicks.append(y);
        axes.yLabels.append(y == 0.0  ? QStringLiteral("0")
                            : y > 0.0 ? QStringLiteral("+%1s").arg(y)
                                      : QStringLiteral("%1s").arg(y));
    }
    return axes;
}

} // namespace

QcChartView::QcChartView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("qcChart"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void QcChartView::SetJudgement(const QcControl& control, const QcJudgement& judgement) {
    m_control = control;
    m_judgement = judgement;
    // The points name their versions by address: point them at this copy's.
    for (QcPoint& p : m_judgement.points) {
        p.version = m_control.VersionAt(p.record.measuredAt->date());
    }
    m_chart = QcChart::Of(m_control, m_judgement);
    update();
}

QString QcChartView::PointText(qsizetype index) const {
    const QcPoint& p = m_judgement.points.at(index);
    const QStringList rules = p.version->rules.Codes(p.flags);
    return QStringLiteral("%1 · %2\n%3 %4 · z = %5%6")
        .arg(m_control.name,
             ArchiveIsoTime(p.record.measuredAt).replace(QLatin1Char('T'), QLatin1Char(' ')))
        .arg(p.record.value1Text, p.version->unit)
        .arg(p.z, 0, 'f', 2)
        .arg(rules.isEmpty() ? QString()
                             : QStringLiteral(" · ") + rules.join(QStringLiteral(", ")));
}

qsizetype QcChartView::PointAt(const QPointF& at) const {
    if (m_chart.IsEmpty() || m_paintedArea.isEmpty()) {
        return -1;
    }
    const PlotAxes axes = AxesOf(m_chart);
    const double dx = (axes.xMax - axes.xMin) / m_paintedArea.width() * kHoverDistance;
    const double dy = (axes.yMax - axes.yMin) / m_paintedArea.height() * kHoverDistance;
    const double x = axes.xMin + (at.x() - m_paintedArea.left()) / m_paintedArea.width() *
                                     (axes.xMax - axes.xMin);
    const double y = axes.yMax - (at.y() - m_paintedArea.top()) / m_paintedArea.height() *
                                     (axes.yMax - axes.yMin);
    const qsizetype nearest = m_chart.Nearest(x, y, dx, dy);
    return nearest < 0 ? -1 : m_chart.points[nearest].index;
}

void QcChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Only the screen's own paint says where the mouse finds the points: a picture or a
    // printed page drawn meanwhile has an area of its own.
    m_paintedArea = Render(painter, QRectF(rect()));
}

bool QcChartView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const qsizetype index = PointAt(help->pos());
        if (index >= 0) {
            QToolTip::showText(help->globalPos(), PointText(index), this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

QRectF QcChartView::Render(QPainter& painter, const QRectF& bounds) const {
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_chart.IsEmpty()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(bounds, Qt::AlignCenter, LoadResString(1741));
        return QRectF();
    }
    const PlotAxes axes = AxesOf(m_chart);
    const QRectF area = axes.Area(painter.fontMetrics(), bounds, 1, 12.0);
    axes.DrawGrid(painter, area, palette(), 0.0);
    painter.setPen(palette().color(QPalette::Text));
    const QcVersion& last = m_control.versions.isEmpty() ? QcVersion() : m_control.versions.last();
    painter.drawText(
        QRectF(area.left(), bounds.top(), area.width(), area.top() - bounds.top()),
        Qt::AlignLeft | Qt::AlignVCenter,
        LoadResString(1742).arg(m_control.name).arg(last.target).arg(last.sd).arg(last.unit));
    DrawLimits(painter, axes, area);
    DrawPoints(painter, axes, area);
    return area;
}

void QcChartView::DrawLimits(QPainter& painter, const PlotAxes& axes, const QRectF& area) const {
    const auto line = [&](double z, const QColor& colour, Qt::PenStyle style, double width) {
        painter.setPen(QPen(colour, width, style));
        painter.drawLine(axes.Map(area, axes.xMin, z), axes.Map(area, axes.xMax, z));
    };
    line(0.0, palette().color(QPalette::Text), Qt::SolidLine, 1.5);
    for (const double side : {1.0, -1.0}) {
        line(side, Qt::gray, Qt::DotLine, 1.0);
        line(2.0 * side, kWarning, Qt::DashLine, 1.2);
        line(3.0 * side, kRejection, Qt::SolidLine, 1.2);
    }
    painter.setPen(QPen(palette().color(QPalette::Mid), 1.0, Qt::DashDotLine));
    for (const double x : m_chart.versionMarks) {
        painter.drawLine(axes.Map(area, x, axes.yMin), axes.Map(area, x, axes.yMax));
    }
}

void QcChartView::DrawPoints(QPainter& painter, const PlotAxes& axes, const QRectF& area) const {
    // Each meter's series joined by a thin line, in time order.
    painter.setPen(QPen(palette().color(QPalette::Mid), 0.8));
    QHash<QString, QPointF> previous;
    for (const QcChart::Point& p : m_chart.points) {
        const QString& serial = m_judgement.points[p.index].record.serial;
        const QPointF at = axes.Map(area, p.x, p.y);
        if (previous.contains(serial)) {
            painter.drawLine(previous[serial], at);
        }
        previous[serial] = at;
    }
    for (const QcChart::Point& p : m_chart.points) {
        const QPointF at = axes.Map(area, p.x, p.y);
        const QColor colour = LevelColour(p.level);
        painter.setPen(QPen(colour.darker(130), 1.0));
        painter.setBrush(colour);
        if (p.clipped) {
            const double r = kMarkSize + 1.0;
            const double tip = p.y > 0.0 ? -r : r;
            painter.drawPolygon(QPolygonF{
                {at.x(), at.y() + tip}, {at.x() + r, at.y() - tip}, {at.x() - r, at.y() - tip}});
        } else {
            painter.drawEllipse(at, kMarkSize, kMarkSize);
        }
    }
    painter.setBrush(Qt::NoBrush);
}

bool QcChartView::SaveImage(const QString& path, const QSize& size) const {
    if (m_chart.IsEmpty()) {
        return false;
    }
    const auto render = [this](QPainter& painter, const QRectF& bounds) {
        Render(painter, bounds);
    };
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) != 0) {
        return SavePlotPng(path, size, Qt::white, render);
    }
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(m_control.name);
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), Qt::white);
    render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return painter.end() && QFileInfo(path).size() > 0;
}

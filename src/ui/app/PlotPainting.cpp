#include "ui/app/PlotPainting.h"

#include "app/Errors.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "app/Ui.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <algorithm>

namespace {

constexpr int kGap = 4;

} // namespace

QString AxisLabel(double value) {
    return QString::number(value, 'g', 6);
}

QPointF PlotAxes::Map(const QRectF& area, double x, double y) const {
    const double fx = (x - xMin) / (xMax - xMin);
    const double fy = (y - yMin) / (yMax - yMin);
    return {area.left() + fx * area.width(), area.bottom() - fy * area.height()};
}

int PlotAxes::XLabelLines() const {
    qsizetype lines = 1;
    for (const QString& label : xLabels) {
        lines = std::max(lines, label.count(QLatin1Char('\n')) + 1);
    }
    return int(lines);
}

QRectF PlotAxes::Area(const QFontMetrics& metrics, const QRectF& bounds, int linesAbove,
                      double rightMargin) const {
    int labelWidth = 0;
    for (const QString& label : yLabels) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(label));
    }
    // Half of the first and of the last x label reach beyond the area's edges.
    const auto halfWidth = [&](const QString& label) {
        double widest = 0;
        for (const QString& line : label.split(QLatin1Char('\n'))) {
            widest = std::max(widest, metrics.horizontalAdvance(line) / 2.0);
        }
        return widest;
    };
    const double firstX = xLabels.isEmpty() ? 0 : halfWidth(xLabels.front());
    const double lastX = xLabels.isEmpty() ? 0 : halfWidth(xLabels.back());
    const double top = bounds.top() + linesAbove * metrics.height() + 2 * kGap;
    const double below = XLabelLines() * metrics.height() + 2 * kGap;
    const double left = bounds.left() + std::max(labelWidth + 2.0 * kGap, firstX + kGap);
    const double right = bounds.right() - std::max(lastX + kGap, rightMargin);
    return QRectF(QPointF(left, top), QPointF(right, bounds.bottom() - below));
}

void PlotAxes::DrawGrid(QPainter& painter, const QRectF& area, const QPalette& palette,
                        double axisY) const {
    const QFontMetrics metrics(painter.font());
    const QColor text = palette.color(QPalette::Text);
    QColor grid = text;
    grid.setAlpha(45);
    for (qsizetype i = 0; i < xTicks.size(); ++i) {
        const double x = Map(area, xTicks[i], yMin).x();
        painter.setPen(QPen(grid, 1));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.setPen(text);
        const QRectF box(x - area.width() / 2, area.bottom() + kGap, area.width(),
                         XLabelLines() * metrics.height());
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, xLabels.value(i));
    }
    for (qsizetype i = 0; i < yTicks.size(); ++i) {
        const double y = Map(area, xMin, yTicks[i]).y();
        painter.setPen(QPen(grid, 1));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(text);
        const QString label = yLabels.value(i);
        painter.drawText(QPointF(area.left() - kGap - metrics.horizontalAdvance(label),
                                 y + metrics.ascent() / 2.0 - 1),
                         label);
    }
    painter.setPen(QPen(text, 1));
    const double atY = axisY > yMin && axisY < yMax ? Map(area, xMin, axisY).y() : area.bottom();
    painter.drawLine(QPointF(area.left(), atY), QPointF(area.right(), atY));
    painter.drawLine(area.topLeft(), area.bottomLeft());
}

bool SavePlotPng(const QString& path, const QSize& size, const QColor& background,
                 const std::function<void(QPainter&, const QRectF&)>& render) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(background);
    {
        QPainter painter(&image);
        render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return image.save(path, "PNG");
}

std::optional<QString> AskPlotFile(Ui& ui, const QString& extension, const QString& proposedName) {
    FileDialogRequest request;
    request.title = LoadResString(1112);
    const int type = extension == QLatin1String("svg") ? 1250 : 1249;
    request.filter = LoadResString(type) + QStringLiteral(" (*.%1)|*.%1").arg(extension);
    request.fileName = proposedName;
    request.defaultExtension = extension;
    request.overwritePrompt = true;
    request.pathMustExist = true;
    return ui.SaveFileDialog(request);
}

void ThrowPlotNotSaved(const QString& path) {
    throw MervexError(QStringLiteral("%1: %2").arg(path, RunTimeText(RtError::PathFileAccess)));
}

#include "print/PainterLinePrinter.h"

#include "app/Errors.h"
#include "app/RunTimeErrors.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <cmath>

namespace {

constexpr int kTabStopChars = 8;

} // namespace

void PainterLinePrinter::Begin(QPagedPaintDevice& device) {
    m_device = &device;
    if (!m_painter.begin(&device)) {
        throw RunTimeError(RtError::PrinterNoDocument);
    }
    m_font = m_painter.font();
    m_advances.clear();
    m_y = 0;
}

bool PainterLinePrinter::Finish() {
    return m_painter.end();
}

void PainterLinePrinter::SetFontSize(double points) {
    m_font.setPointSizeF(points);
    m_painter.setFont(m_font);
    m_advances.clear();
}

double PainterLinePrinter::Advance(QChar ch) const {
    auto it = m_advances.constFind(ch.unicode());
    if (it == m_advances.cend()) {
        it = m_advances.insert(ch.unicode(), QFontMetricsF(m_font, m_device).horizontalAdvance(ch));
    }
    return *it;
}

QList<PainterLinePrinter::Segment> PainterLinePrinter::Layout(const QString& text,
                                                              double& width) const {
    // Widths add up the characters' advances, measured once each: a record line is
    // measured several times when it is cut at the right edge.
    const double tabStop = kTabStopChars * Advance(QLatin1Char('x'));
    QList<Segment> segments{{QString(), 0}};
    double x = 0;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\t')) {
            x = (std::floor(x / tabStop) + 1) * tabStop;
            segments.append({QString(), x});
        } else {
            segments.last().text.append(ch);
            x += Advance(ch);
        }
    }
    width = x;
    return segments;
}

double PainterLinePrinter::TextHeight(const QString&) const {
    return QFontMetricsF(m_font, m_device).height();
}

double PainterLinePrinter::TextWidth(const QString& text) const {
    double width = 0;
    Layout(text, width);
    return width;
}

double PainterLinePrinter::PrintableHeight() const {
    return m_device->height();
}

double PainterLinePrinter::PrintableWidth() const {
    return m_device->width();
}

void PainterLinePrinter::PrintLine(const QString& text) {
    const QFontMetricsF metrics(m_font, m_device);
    double width = 0;
    for (const Segment& segment : Layout(text, width)) {
        m_painter.drawText(QPointF(segment.x, m_y + metrics.ascent()), segment.text);
    }
    m_y += metrics.height();
}

void PainterLinePrinter::NewPage() {
    if (!m_device->newPage()) {
        throw RunTimeError(RtError::PrinterNoPage);
    }
    m_y = 0;
}

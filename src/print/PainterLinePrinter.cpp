#include "print/PainterLinePrinter.h"

#include "app/Errors.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>

namespace {

constexpr int kLineFlags = Qt::TextSingleLine | Qt::TextExpandTabs;

} // namespace

void PainterLinePrinter::Begin(QPagedPaintDevice& device) {
    m_device = &device;
    if (!m_painter.begin(&device)) {
        throw MervexError(QStringLiteral("The printer cannot start a document."));
    }
    m_font = m_painter.font();
    m_y = 0;
}

bool PainterLinePrinter::Finish() {
    return m_painter.end();
}

void PainterLinePrinter::SetFontSize(double points) {
    m_font.setPointSizeF(points);
    m_painter.setFont(m_font);
}

double PainterLinePrinter::TextHeight(const QString& text) const {
    return QFontMetricsF(m_font, m_device).size(kLineFlags, text).height();
}

double PainterLinePrinter::TextWidth(const QString& text) const {
    return QFontMetricsF(m_font, m_device).size(kLineFlags, text).width();
}

double PainterLinePrinter::PrintableHeight() const {
    return m_device->height();
}

double PainterLinePrinter::PrintableWidth() const {
    return m_device->width();
}

void PainterLinePrinter::PrintLine(const QString& text) {
    const double height = TextHeight(QStringLiteral("test"));
    m_painter.drawText(QRectF(0, m_y, PrintableWidth(), height),
                       kLineFlags | Qt::AlignLeft | Qt::AlignTop, text);
    m_y += height;
}

void PainterLinePrinter::NewPage() {
    if (!m_device->newPage()) {
        throw MervexError(QStringLiteral("The printer cannot start a new page."));
    }
    m_y = 0;
}

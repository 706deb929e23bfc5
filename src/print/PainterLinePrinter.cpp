#include "print/PainterLinePrinter.h"

#include "app/Errors.h"
#include "app/RunTimeErrors.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageRanges>
#include <QPagedPaintDevice>
#include <QPen>
#include <cmath>

namespace {

constexpr int kTabStopChars = 8;
constexpr double kRule_pt = 0.5;
constexpr double kPointsPerInch = 72;
// The figure's text, in the pixels of its kFigureWidth (9 pt on a 96 dpi screen).
constexpr int kFigureFont_px = 12;

} // namespace

void PainterLinePrinter::Attach(QPagedPaintDevice& device, bool fMayTurn) {
    m_device = &device;
    m_mayTurn = fMayTurn;
    // The font a painter on this device starts with, before any painter exists.
    m_font = QFont(QFont(), &device);
    m_advances.clear();
    m_y = 0;
    m_page = 1;
    m_pageOpen = false;
    m_devicePages = 0;
}

void PainterLinePrinter::EnsurePainting() {
    if (m_started) {
        return;
    }
    m_started = true;
    m_mayTurn = false;
    if (!m_painter.begin(m_device)) {
        throw RunTimeError(RtError::PrinterNoDocument);
    }
    m_painter.setFont(m_font);
}

bool PainterLinePrinter::Finish() {
    EnsurePainting();
    return m_painter.end();
}

void PainterLinePrinter::Stop() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

void PainterLinePrinter::SetFontSize(double points) {
    m_font.setPointSizeF(points);
    if (m_painter.isActive()) {
        m_painter.setFont(m_font);
    }
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

bool PainterLinePrinter::MayTurnPage() const {
    return m_mayTurn;
}

void PainterLinePrinter::TurnToLandscape() {
    if (m_mayTurn) {
        m_device->setPageOrientation(QPageLayout::Landscape);
    }
}

void PainterLinePrinter::OpenPage() {
    EnsurePainting();
    if (m_pageOpen) {
        return;
    }
    // Painting starts on the first page; each further one is asked for.
    if (m_devicePages > 0 && !m_device->newPage()) {
        throw RunTimeError(RtError::PrinterNoPage);
    }
    ++m_devicePages;
    m_pageOpen = true;
}

void PainterLinePrinter::PrintLine(const QString& text) {
    EnsurePainting();
    const QFontMetricsF metrics(m_font, m_device);
    if (PaintOnPage()) {
        double width = 0;
        for (const Segment& segment : Layout(text, width)) {
            m_painter.drawText(QPointF(segment.x, m_y + metrics.ascent()), segment.text);
        }
    }
    m_y += metrics.height();
}

bool PainterLinePrinter::PaintOnPage() {
    EnsurePainting();
    const QPageRanges ranges = m_device->pageRanges();
    if (!ranges.isEmpty() && !ranges.contains(m_page)) {
        return false;
    }
    OpenPage();
    return true;
}

void PainterLinePrinter::SetFont(double points, bool bold) {
    m_font.setBold(bold);
    SetFontSize(points);
}

void PainterLinePrinter::DrawText(double x, double top, double width, Align align,
                                  const QString& text) {
    if (!PaintOnPage()) {
        return;
    }
    const int horizontal = align == Align::Right    ? Qt::AlignRight
                           : align == Align::Center ? Qt::AlignHCenter
                                                    : Qt::AlignLeft;
    // The box is as high as a line: the text's baseline lies where a printed line's would.
    const QRectF box(x, top, width, QFontMetricsF(m_font, m_device).height());
    m_painter.drawText(box, horizontal | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                       text);
}

void PainterLinePrinter::DrawRule(double x1, double x2, double y) {
    if (!PaintOnPage()) {
        return;
    }
    m_painter.save();
    m_painter.setPen(QPen(Qt::black, kRule_pt * m_device->logicalDpiY() / kPointsPerInch));
    m_painter.drawLine(QPointF(x1, y), QPointF(x2, y));
    m_painter.restore();
}

double PainterLinePrinter::DrawPicture(const QString& path, double x, double top, double height) {
    const QImage picture(path);
    if (picture.isNull() || picture.height() <= 0) {
        return 0;
    }
    const double width = height * picture.width() / picture.height();
    if (PaintOnPage()) {
        m_painter.drawImage(QRectF(x, top, width, height), picture);
    }
    return width;
}

void PainterLinePrinter::DrawFigure(double x, double top, double width, double height,
                                    const PageFigure& figure) {
    if (!figure || width <= 0 || height <= 0 || !PaintOnPage()) {
        return;
    }
    const double scale = width / kFigureWidth;
    m_painter.save();
    m_painter.translate(x, top);
    m_painter.scale(scale, scale);
    QFont font = m_font;
    font.setBold(false);
    font.setPixelSize(kFigureFont_px);
    m_painter.setFont(font);
    figure(m_painter, QRectF(0, 0, kFigureWidth, height / scale));
    m_painter.restore();
}

void PainterLinePrinter::NewPage() {
    EnsurePainting();
    ++m_page;
    m_pageOpen = false;
    m_y = 0;
}

#include "Drawings.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kTeal(0x1b, 0x6f, 0x7a);
const QColor kDarkTeal(0x0e, 0x44, 0x4c);
const QColor kLiquid(0x3c, 0xa6, 0xd8);
const QColor kDisplay(0xc8, 0xf0, 0xc0);
const QColor kOutline(0x30, 0x30, 0x30);

QImage Canvas(int w, int h, QColor fill = Qt::transparent) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void Smooth(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

// A photometer seen from the front: body, display with a reading, a cuvette on top.
void PaintMeter(QPainter& p, const QRectF& r) {
    const qreal u = r.width() / 32.0;
    p.setPen(QPen(kDarkTeal, 1.2 * u));
    p.setBrush(kLiquid.lighter(140));
    p.drawRect(QRectF(r.x() + 19 * u, r.y() + 1 * u, 6 * u, 10 * u));
    p.setBrush(kTeal);
    p.drawRoundedRect(QRectF(r.x() + 3 * u, r.y() + 8 * u, 26 * u, 22 * u), 4 * u, 4 * u);
    p.setBrush(kDisplay);
    p.drawRect(QRectF(r.x() + 7 * u, r.y() + 12 * u, 18 * u, 8 * u));
    p.setPen(QPen(kDarkTeal, 1.6 * u));
    p.drawLine(QPointF(r.x() + 9 * u, r.y() + 18 * u), QPointF(r.x() + 13 * u, r.y() + 14 * u));
    p.drawLine(QPointF(r.x() + 13 * u, r.y() + 14 * u), QPointF(r.x() + 17 * u, r.y() + 17 * u));
    p.drawLine(QPointF(r.x() + 17 * u, r.y() + 17 * u), QPointF(r.x() + 23 * u, r.y() + 13 * u));
    p.setPen(Qt::NoPen);
    p.setBrush(kDisplay);
    for (int i = 0; i < 3; ++i) {
        p.drawEllipse(QRectF(r.x() + (8 + 6 * i) * u, r.y() + 23 * u, 4 * u, 4 * u));
    }
}

// An Erlenmeyer flask half full of liquid.
void PaintFlask(QPainter& p, const QRectF& r) {
    QPainterPath glass;
    glass.moveTo(r.x() + r.width() * 0.38, r.y());
    glass.lineTo(r.x() + r.width() * 0.62, r.y());
    glass.lineTo(r.x() + r.width() * 0.62, r.y() + r.height() * 0.35);
    glass.lineTo(r.right(), r.bottom());
    glass.lineTo(r.left(), r.bottom());
    glass.lineTo(r.x() + r.width() * 0.38, r.y() + r.height() * 0.35);
    glass.closeSubpath();
    QPainterPath liquid;
    liquid.addRect(QRectF(r.left(), r.y() + r.height() * 0.62, r.width(), r.height()));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 245, 250));
    p.drawPath(glass);
    p.setBrush(kLiquid);
    p.drawPath(glass.intersected(liquid));
    p.setPen(QPen(kOutline, qMax<qreal>(1.0, r.width() / 24)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(glass);
}

void PaintPage(QPainter& p, const QRectF& r) {
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - 5, r.top());
    page.lineTo(r.right(), r.top() + 5);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
}

void PaintArrow(QPainter& p, QPointF from, QPointF to, QColor colour) {
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPolygonF head{to + d * 3, to - d * 4 + n * 4, to - d * 4 - n * 4};
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void PaintGrid(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(0x2e, 0x8b, 0x57), 1));
    for (int i = 1; i < 3; ++i) {
        p.drawLine(QPointF(r.left() + r.width() * i / 3, r.top()),
                   QPointF(r.left() + r.width() * i / 3, r.bottom()));
        p.drawLine(QPointF(r.left(), r.top() + r.height() * i / 3),
                   QPointF(r.right(), r.top() + r.height() * i / 3));
    }
}

void PaintOpen(QPainter& p) {
    p.setPen(QPen(QColor(0x8a, 0x6a, 0x10), 1));
    p.setBrush(QColor(0xf0, 0xc8, 0x50));
    p.drawRect(QRectF(2.5, 6.5, 19, 14));
    p.setBrush(QColor(0xf8, 0xdc, 0x7a));
    p.drawPolygon(QPolygonF{{5.5, 10.5}, {23.5, 10.5}, {19.5, 20.5}, {2.5, 20.5}});
}

void PaintSave(QPainter& p) {
    p.setPen(QPen(kDarkTeal, 1));
    p.setBrush(kTeal);
    p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 3.5, 11, 7));
    p.setBrush(QColor(0xd0, 0xd0, 0xd0));
    p.drawRect(QRectF(7.5, 14.5, 9, 6));
}

void PaintPrint(QPainter& p) {
    PaintPage(p, QRectF(6.5, 2.5, 11, 9));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(0x90, 0x90, 0x98));
    p.drawRoundedRect(QRectF(2.5, 10.5, 19, 8), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 15.5, 11, 6));
    p.setPen(QPen(kDisplay.darker(150), 2));
    p.drawPoint(QPointF(18, 13));
}

void PaintUserPrograms(QPainter& p) {
    PaintPage(p, QRectF(3.5, 2.5, 14, 19));
    p.setPen(QPen(kTeal, 1.5));
    for (int i = 0; i < 4; ++i) {
        p.drawLine(QPointF(6, 7 + 3.5 * i), QPointF(14, 7 + 3.5 * i));
    }
    PaintFlask(p, QRectF(13, 10, 10, 13));
}

} // namespace

QImage DrawMainIcon(int size) {
    QImage image = Canvas(size, size);
    QPainter p(&image);
    Smooth(p);
    PaintMeter(p, QRectF(0, 0, size, size));
    return image;
}

QImage DrawFinger() {
    QImage image = Canvas(32, 32);
    QPainter p(&image);
    Smooth(p);
    QPainterPath hand;
    hand.moveTo(9, 1);
    hand.lineTo(13, 1);
    hand.lineTo(13, 11);
    hand.lineTo(24, 13);
    hand.quadTo(27, 14, 27, 18);
    hand.lineTo(26, 26);
    hand.quadTo(25, 30, 21, 30);
    hand.lineTo(12, 30);
    hand.quadTo(9, 30, 7, 26);
    hand.lineTo(3, 18);
    hand.quadTo(3, 15, 6, 16);
    hand.lineTo(9, 19);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.drawLine(QPointF(17, 13), QPointF(17, 19));
    p.drawLine(QPointF(21, 14), QPointF(21, 19));
    return image;
}

QImage DrawLogo() {
    QImage image = Canvas(220, 60, Qt::white);
    QPainter p(&image);
    Smooth(p);
    PaintMeter(p, QRectF(6, 6, 48, 48));
    QFont font(QStringLiteral("DejaVu Sans"), 26, QFont::Bold);
    p.setFont(font);
    p.setPen(kTeal);
    p.drawText(QRectF(62, 10, 156, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Mervex"));
    return image;
}

QImage DrawLab() {
    QImage image = Canvas(120, 150, QColor(0xf4, 0xf8, 0xfa));
    QPainter p(&image);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd8, 0xe4, 0xe8));
    p.drawRect(QRectF(0, 118, 120, 32));
    PaintFlask(p, QRectF(14, 40, 56, 80));
    for (int i = 0; i < 3; ++i) {
        const QRectF tube(80 + 11 * i, 60 + 6 * i, 8, 56 - 6 * i);
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(QColor(235, 245, 250));
        p.drawRoundedRect(tube, 4, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv(190 + 40 * i, 160, 210));
        p.drawRoundedRect(tube.adjusted(1, tube.height() * 0.45, -1, -1), 3, 3);
    }
    p.setPen(QPen(kOutline, 2));
    p.drawLine(QPointF(76, 118), QPointF(116, 118));
    return image;
}

QImage DrawHead() {
    QImage image = Canvas(420, 56);
    QPainter p(&image);
    Smooth(p);
    QLinearGradient band(0, 0, 420, 0);
    band.setColorAt(0, kDarkTeal);
    band.setColorAt(1, kLiquid);
    p.fillRect(image.rect(), band);
    p.setPen(QPen(QColor(255, 255, 255, 120), 2));
    QPainterPath wave;
    wave.moveTo(0, 40);
    for (int x = 0; x <= 420; x += 35) {
        wave.quadTo(x + 17, x % 70 ? 30 : 50, x + 35, 40);
    }
    p.drawPath(wave);
    PaintMeter(p, QRectF(370, 8, 40, 40));
    return image;
}

QImage DrawToolImage(const QString& key) {
    QImage image = Canvas(24, 24);
    QPainter p(&image);
    Smooth(p);
    if (key == QLatin1String("New")) {
        PaintPage(p, QRectF(5.5, 2.5, 13, 19));
    } else if (key == QLatin1String("Open")) {
        PaintOpen(p);
    } else if (key == QLatin1String("Save")) {
        PaintSave(p);
    } else if (key == QLatin1String("Print")) {
        PaintPrint(p);
    } else if (key == QLatin1String("Import")) {
        PaintMeter(p, QRectF(0, 0, 15, 15));
        PaintGrid(p, QRectF(11.5, 11.5, 11, 11));
        PaintArrow(p, QPointF(6, 17), QPointF(8, 21), kTeal);
    } else if (key == QLatin1String("Export")) {
        PaintGrid(p, QRectF(1.5, 1.5, 13, 13));
        PaintArrow(p, QPointF(10, 14), QPointF(19, 20), QColor(0x2e, 0x8b, 0x57));
    } else if (key == QLatin1String("UsrProgs")) {
        PaintUserPrograms(p);
    }
    return image;
}

#include "support/RecordingPagePainter.h"

double RecordingPagePainter::Text::Left() const {
    const double used = static_cast<double>(text.size()) * points * (bold ? 0.6 : 0.5);
    switch (align) {
    case Align::Right:
        return x + width - used;
    case Align::Center:
        return x + (width - used) / 2;
    case Align::Left:
        break;
    }
    return x;
}

double RecordingPagePainter::Text::Right() const {
    return Left() + static_cast<double>(text.size()) * points * (bold ? 0.6 : 0.5);
}

double RecordingPagePainter::TextWidth(const QString& text) const {
    return static_cast<double>(text.size()) * m_points * (m_bold ? 0.6 : 0.5);
}

void RecordingPagePainter::PrintLine(const QString& text) {
    DrawText(0, 0, PrintableWidth(), Align::Left, text);
}

void RecordingPagePainter::SetFont(double points, bool bold) {
    m_points = points;
    m_bold = bold;
}

void RecordingPagePainter::DrawText(double x, double top, double width, Align align,
                                    const QString& text) {
    texts << Text{pages - 1, x, top, width, align, text, m_bold, m_points};
}

double RecordingPagePainter::DrawPicture(const QString& path, double, double, double height) {
    pictures << path;
    return height;
}

QList<RecordingPagePainter::Text> RecordingPagePainter::OnPage(int page) const {
    QList<Text> found;
    for (const Text& t : texts) {
        if (t.page == page) {
            found << t;
        }
    }
    return found;
}

QList<RecordingPagePainter::Text> RecordingPagePainter::Find(const QString& text) const {
    QList<Text> found;
    for (const Text& t : texts) {
        if (t.text == text) {
            found << t;
        }
    }
    return found;
}

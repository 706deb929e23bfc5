#pragma once

#include "data/LinePrinter.h"

#include <QFont>
#include <QHash>
#include <QPainter>

class QPagedPaintDevice;

// Text lines painted from the top of the printable area down, in device pixels, with the
// default font. Tabs advance to the next tab stop. Subclasses own the device and decide
// what ending and discarding a document means.
class PainterLinePrinter : public LinePrinter {
public:
    void SetFontSize(double points) override;
    double TextHeight(const QString& text) const override;
    double TextWidth(const QString& text) const override;
    double PrintableHeight() const override;
    double PrintableWidth() const override;
    void PrintLine(const QString& text) override;
    void NewPage() override;

protected:
    // Starts painting on the device; throws MervexError when it cannot.
    void Begin(QPagedPaintDevice& device);
    // Ends painting; true when the device took every page.
    bool Finish();
    bool Painting() const { return m_painter.isActive(); }

private:
    struct Segment {
        QString text;
        double x = 0;
    };
    // The pieces of a line between tabs with the position each starts at: a tab moves to
    // the next multiple of eight "x" widths.
    QList<Segment> Layout(const QString& text, double& width) const;
    double Advance(QChar ch) const;

    QPagedPaintDevice* m_device = nullptr;
    QPainter m_painter;
    QFont m_font;
    mutable QHash<char16_t, double> m_advances;
    double m_y = 0;
};

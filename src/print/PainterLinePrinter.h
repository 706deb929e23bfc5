#pragma once

#include "data/PagePainter.h"

#include <QFont>
#include <QHash>
#include <QPainter>

class QPagedPaintDevice;

// Text lines painted from the top of the printable area down, in device pixels, with the
// default font (or texts, rules and pictures placed by a table report). Tabs advance to
// the next tab stop. Painting starts with the first line,
// so that the page can still be turned after measuring. Pages outside the device's page
// ranges (a print dialog's "pages from ... to") are laid out but not painted. Subclasses
// own or borrow the device and decide what ending and discarding a document means.
class PainterLinePrinter : public PagePainter {
public:
    void SetFontSize(double points) override;
    double TextHeight(const QString& text) const override;
    double TextWidth(const QString& text) const override;
    double PrintableHeight() const override;
    double PrintableWidth() const override;
    bool MayTurnPage() const override;
    void TurnToLandscape() override;
    void PrintLine(const QString& text) override;
    void NewPage() override;

    void SetFont(double points, bool bold) override;
    void DrawText(double x, double top, double width, Align align, const QString& text) override;
    void DrawRule(double x1, double x2, double y) override;
    double DrawPicture(const QString& path, double x, double top, double height) override;
    // The figure draws as on a screen kFigureWidth pixels wide, its text and lines in
    // proportion, scaled to the box.
    void DrawFigure(double x, double top, double width, double height,
                    const PageFigure& figure) override;
    static constexpr double kFigureWidth = 800;

protected:
    // The device to paint on; fMayTurn: its orientation is left to the printout.
    void Attach(QPagedPaintDevice& device, bool fMayTurn);
    // Ends painting (starting it first for a document without a line); true when the
    // device took every page. Throws MervexError when painting cannot start.
    bool Finish();
    bool Painting() const { return m_painter.isActive(); }
    // Ends painting without caring for the result (a discarded document).
    void Stop();

private:
    struct Segment {
        QString text;
        double x = 0;
    };
    void EnsurePainting();
    // Painting starts, and the current page is started, when it is among the pages to
    // print; false for a page outside the chosen range.
    bool PaintOnPage();
    // Starts the current page on the device, after the pages painted before it.
    void OpenPage();
    // The pieces of a line between tabs with the position each starts at: a tab moves to
    // the next multiple of eight "x" widths.
    QList<Segment> Layout(const QString& text, double& width) const;
    double Advance(QChar ch) const;

    QPagedPaintDevice* m_device = nullptr;
    QPainter m_painter;
    QFont m_font;
    mutable QHash<char16_t, double> m_advances;
    double m_y = 0;
    int m_page = 1;          // the page the lines go to, from 1
    bool m_pageOpen = false; // it is started on the device
    int m_devicePages = 0;   // pages started on the device
    bool m_mayTurn = false;
    bool m_started = false;
};

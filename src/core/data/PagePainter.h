#pragma once

#include "data/LinePrinter.h"

#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

// A picture the printout draws itself (a chart) into the box it is given, in the painter's
// units. Core code only hands it on: the painter belongs to the printer.
using PageFigure = std::function<void(QPainter& painter, const QRectF& box)>;

// A line printer that also paints text, rules and pictures at any place of its pages, in
// its own units (y downwards from the top of the printable area). Page ranges chosen by
// the user are honoured by the painter: the printout lays out every page alike.
class PagePainter : public LinePrinter {
public:
    enum class Align { Left, Center, Right };

    PagePainter* Pages() override { return this; }

    // The font of the measurements and texts that follow.
    virtual void SetFont(double points, bool bold) = 0;
    // The text on the line whose top is at `top`, inside the box from `x` `width` wide.
    virtual void DrawText(double x, double top, double width, Align align, const QString& text) = 0;
    // A thin horizontal rule.
    virtual void DrawRule(double x1, double x2, double y) = 0;
    // The picture at `path` `height` high, its width kept in proportion; the width it
    // took, 0 when there is no such picture.
    virtual double DrawPicture(const QString& path, double x, double top, double height) = 0;
    // The figure drawn into the box from `x`, `top`, `width` wide and `height` high.
    virtual void DrawFigure(double x, double top, double width, double height,
                            const PageFigure& figure) = 0;
    // The document's title and the program that made it (a PDF's Title and Creator).
    virtual void SetDocumentInfo(const QString& title, const QString& creator) = 0;
};

#pragma once

#include "data/PagePainter.h"

#include <QList>
#include <QString>

// A page painter of known metrics that records what is painted where: a character is half
// the font size wide (bold: 0.6), a line 1.2 times the font size high; turning the page
// to landscape swaps width and height.
class RecordingPagePainter : public PagePainter {
public:
    struct Text {
        int page = 0; // from 0
        double x = 0;
        double top = 0;
        double width = 0;
        Align align = Align::Left;
        QString text;
        bool bold = false;
        double points = 0;
        // Where the text starts and ends on the page as painted.
        double Left() const;
        double Right() const;
    };

    RecordingPagePainter(double width, double height, bool mayTurn)
        : m_width(width), m_height(height), m_mayTurn(mayTurn) {}

    void SetFontSize(double points) override { m_points = points; }
    double TextHeight(const QString&) const override { return m_points * 1.2; }
    double TextWidth(const QString& text) const override;
    double PrintableHeight() const override { return landscape ? m_width : m_height; }
    double PrintableWidth() const override { return landscape ? m_height : m_width; }
    bool MayTurnPage() const override { return m_mayTurn && texts.isEmpty(); }
    void TurnToLandscape() override { landscape = landscape || MayTurnPage(); }
    void PrintLine(const QString& text) override;
    void NewPage() override { ++pages; }
    bool EndDocument() override { return ended = true; }
    void SetFont(double points, bool bold) override;
    void DrawText(double x, double top, double width, Align align, const QString& text) override;
    void DrawRule(double, double, double) override { ++rules; }
    double DrawPicture(const QString& path, double, double, double height) override;
    void DrawFigure(double x, double top, double width, double height, const PageFigure&) override {
        figures << Figure{pages - 1, x, top, width, height};
    }
    void SetDocumentInfo(const QString& title, const QString&) override { documentTitle = title; }

    // The texts of one page, or every text equal to `text`.
    QList<Text> OnPage(int page) const;
    QList<Text> Find(const QString& text) const;

    struct Figure {
        int page = 0;
        double x = 0, top = 0, width = 0, height = 0;
    };

    QList<Text> texts;
    QList<Figure> figures;
    QStringList pictures;
    QString documentTitle;
    int pages = 1;
    int rules = 0;
    bool landscape = false;
    bool ended = false;

private:
    double m_width;
    double m_height;
    bool m_mayTurn;
    double m_points = 10;
    bool m_bold = false;
};

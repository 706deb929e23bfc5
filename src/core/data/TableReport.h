#pragma once

#include "data/PagePainter.h"
#include "data/ReportContent.h"

#include <QList>

// A table report on a page painter: the header block and the column titles on every page,
// the rows below them (never split), the closing lines after the last row (on pages of
// their own when the last is full), the signature block after them, and a footer with
// "Page x / y", the time of printing and the program's name and version. A figure (a chart)
// takes the width of the first page above the table.
//
// Fitting, in this order: every column as wide as its widest value or title; portrait at
// 10 pt; else landscape (when the page may still turn); else the font steps down by half a
// point to 7 pt; and only when even that is too wide, the columns are dealt out into bands
// from the left in the meter's own column order, so the rightmost (least important)
// columns continue on a second band of pages. Each band repeats the first column (the
// record number) so that its rows can be matched; the bands of the same rows follow each
// other, page after page.
class TableReport {
public:
    TableReport(PagePainter& painter, ReportContent content);

    // Chooses the orientation, the font and the bands, and lays the pages out. Throws
    // MervexError when the page cannot hold the header, the titles and one row.
    void Fit();
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    double FontSize() const { return m_fontSize; }
    // The columns of each band, by index into the content's columns.
    const QList<QList<int>>& Bands() const { return m_bands; }
    // Paints every page (fitting first when not done yet) and ends the document.
    bool Print();

private:
    struct Page {
        int band = 0;
        qsizetype firstRow = 0;
        qsizetype rowCount = 0;
        bool table = true; // false: a page holding only closing lines or the signature block
        bool signature = false;
        qsizetype firstClosing = 0;
        qsizetype closingCount = 0;
    };

    void MeasureColumns(double points);
    bool ColumnsFit() const;
    void MakeBands();
    void Paginate();
    // Deals the closing lines out after the last row: `left` lines are free on the last
    // page, `pageLines` on a new one; `left` is what stays free after them.
    void PlaceClosing(int& left, int pageLines);
    // The empty line, the verification lines and the line of blanks.
    int SignatureLines() const;
    double TopHeight(bool firstPage) const;
    double FigureHeight() const;
    double FooterHeight() const;
    void PaintPage(int index);
    double PaintHeader(double y);
    double PaintFirstPageTop(double y);
    double PaintTable(const Page& page, double y);
    double PaintClosing(const Page& page, double y);
    void PaintSignature(double y);
    void PaintFooter(int index);
    QString Elided(const QString& text, double width) const;
    bool Marked(qsizetype row, int column) const;

    PagePainter& m_painter;
    ReportContent m_content;
    QList<QStringList> m_distinct; // per column: every text once, titles included
    QStringList m_markedDistinct;  // the marked column's marked texts, in bold
    QList<double> m_titleWidths;
    QList<double> m_widths; // per column, at the chosen font
    double m_fontSize = 0;
    double m_lineHeight = 0;
    double m_gap = 0;
    QList<QList<int>> m_bands;
    QList<Page> m_pages;
    bool m_fitted = false;
};

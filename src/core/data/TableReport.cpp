#include "data/TableReport.h"

#include "app/DateText.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr double kLargestFont_pt = 10;
constexpr double kSmallestFont_pt = 7;
constexpr double kFontStep_pt = 0.5;
constexpr int kFieldsPerHeaderLine = 3;
// In line heights: the picture, the space under a block, the rule under the titles.
constexpr double kPictureLines = 3;
constexpr double kBlockSpace = 0.5;
constexpr double kRuleSpace = 0.4;
constexpr int kSignatureLines = 2; // an empty line, then the block
constexpr int kClosingSpace = 1;   // an empty line between the last row and the closing lines
// A figure is as wide as the page and this share of its width high, but never takes more
// than this share of the page's height: a row of the table must fit under it.
constexpr double kFigureAspect = 0.55;
constexpr double kFigureShare = 0.5;
constexpr double kFooterLines = 1.5;
const QString kColumnGap = QStringLiteral("   ");
const QString kSignatureBlank = QStringLiteral(" ______________");
const QString kSignatureGap = QStringLiteral("   ");

int Lines(double height, double lineHeight) {
    // A line that fits up to rounding still fits.
    return static_cast<int>(std::floor(height / lineHeight + 1e-9));
}

QString FieldText(const ReportField& field) {
    return field.label + QLatin1Char(' ') + field.value;
}

// Where a header field goes: three to a line, a field of its own line alone on it.
struct HeaderCell {
    int line = 0;
    int column = 0;
    int span = 1;
};

QList<HeaderCell> HeaderCells(const QList<ReportField>& header) {
    QList<HeaderCell> cells;
    int line = 0;
    int column = 0;
    for (const ReportField& field : header) {
        if (field.ownLine && column > 0) {
            ++line;
            column = 0;
        }
        const int span = field.ownLine ? kFieldsPerHeaderLine : 1;
        cells << HeaderCell{line, column, span};
        column += span;
        if (column >= kFieldsPerHeaderLine) {
            ++line;
            column = 0;
        }
    }
    return cells;
}

QString ProgramText() {
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("Mervex") : QStringLiteral("Mervex ") + version;
}

} // namespace

TableReport::TableReport(PagePainter& painter, ReportContent content)
    : m_painter(painter), m_content(std::move(content)) {
    if (!m_content.picturePath.isEmpty() && !QFileInfo::exists(m_content.picturePath)) {
        m_content.picturePath.clear();
    }
    // Measured once per text and font: a long dataset repeats most of its values.
    const qsizetype columns = m_content.columns.size();
    QList<QSet<QString>> seen(columns);
    QSet<QString> seenMarked;
    m_distinct.resize(columns);
    for (qsizetype r = 0; r < m_content.rows.size(); ++r) {
        const QStringList& row = m_content.rows[r];
        for (qsizetype c = 0; c < columns; ++c) {
            const QString& field = row.value(c);
            if (Marked(r, int(c))) {
                if (!seenMarked.contains(field)) {
                    seenMarked.insert(field);
                    m_markedDistinct << field;
                }
            } else if (!seen[c].contains(field)) {
                seen[c].insert(field);
                m_distinct[c] << field;
            }
        }
    }
}

bool TableReport::Marked(qsizetype row, int column) const {
    return column == m_content.markedColumn && m_content.markedRows.value(row, false);
}

void TableReport::MeasureColumns(double points) {
    const qsizetype columns = m_content.columns.size();
    m_fontSize = points;
    m_painter.SetFont(points, true);
    m_titleWidths.resize(columns);
    for (qsizetype c = 0; c < columns; ++c) {
        m_titleWidths[c] = m_painter.TextWidth(m_content.columns[c].title);
    }
    double marked = 0; // the marked texts are bold
    for (const QString& text : m_markedDistinct) {
        marked = std::max(marked, m_painter.TextWidth(text));
    }
    m_painter.SetFont(points, false);
    m_widths = m_titleWidths;
    if (m_content.markedColumn >= 0 && m_content.markedColumn < columns) {
        m_widths[m_content.markedColumn] = std::max(m_widths[m_content.markedColumn], marked);
    }
    for (qsizetype c = 0; c < columns; ++c) {
        for (const QString& text : m_distinct[c]) {
            m_widths[c] = std::max(m_widths[c], m_painter.TextWidth(text));
        }
    }
    m_lineHeight = m_painter.TextHeight(QStringLiteral("Mg"));
    m_gap = m_painter.TextWidth(kColumnGap);
}

bool TableReport::ColumnsFit() const {
    const double total = std::accumulate(m_widths.cbegin(), m_widths.cend(), 0.0) +
                         m_gap * static_cast<double>(std::max<qsizetype>(m_widths.size() - 1, 0));
    return total <= m_painter.PrintableWidth();
}

void TableReport::Fit() {
    MeasureColumns(kLargestFont_pt);
    if (!ColumnsFit() && m_painter.MayTurnPage()) {
        m_painter.TurnToLandscape();
    }
    while (!ColumnsFit() && m_fontSize - kFontStep_pt >= kSmallestFont_pt) {
        MeasureColumns(m_fontSize - kFontStep_pt);
    }
    MakeBands();
    Paginate();
    m_fitted = true;
}

void TableReport::MakeBands() {
    m_bands.clear();
    const int columns = static_cast<int>(m_widths.size());
    if (ColumnsFit() || columns < 2) {
        QList<int> all(columns);
        std::iota(all.begin(), all.end(), 0);
        m_bands << all;
        return;
    }
    const double width = m_painter.PrintableWidth();
    QList<int> band{0};
    double used = m_widths[0];
    for (int c = 1; c < columns; ++c) {
        // A band holds at least one column beside the first, even one too wide for it.
        if (band.size() > 1 && used + m_gap + m_widths[c] > width) {
            m_bands << band;
            band = {0};
            used = m_widths[0];
        }
        band << c;
        used += m_gap + m_widths[c];
    }
    m_bands << band;
}

double TableReport::TopHeight(bool firstPage) const {
    const QList<HeaderCell> cells = HeaderCells(m_content.header);
    const int headerLines = cells.isEmpty() ? 0 : cells.last().line + 1;
    double lines = static_cast<double>(headerLines) + kBlockSpace;
    if (firstPage) {
        if (!m_content.picturePath.isEmpty()) {
            lines += kPictureLines + kBlockSpace;
        }
        const auto extra = (m_content.heading.isEmpty() ? 0 : 1) + m_content.details.size();
        if (extra > 0) {
            lines += static_cast<double>(extra) + kBlockSpace;
        }
        if (m_content.figure) {
            lines += kBlockSpace;
        }
    }
    return lines * m_lineHeight + (firstPage ? FigureHeight() : 0.0);
}

double TableReport::FigureHeight() const {
    if (!m_content.figure) {
        return 0.0;
    }
    return std::min(kFigureAspect * m_painter.PrintableWidth(),
                    kFigureShare * m_painter.PrintableHeight());
}

double TableReport::FooterHeight() const {
    return kFooterLines * m_lineHeight;
}

void TableReport::Paginate() {
    const double table =
        m_painter.PrintableHeight() - FooterHeight() - (1 + kRuleSpace) * m_lineHeight;
    const int firstRows = Lines(table - TopHeight(true), m_lineHeight);
    const int otherRows = Lines(table - TopHeight(false), m_lineHeight);
    if (m_lineHeight <= 0 || firstRows < 1 || otherRows < 1) {
        throw RunTimeError(RtError::TooFewPrintLines);
    }
    m_pages.clear();
    const qsizetype rows = m_content.rows.size();
    qsizetype start = 0;
    int room = firstRows;
    do {
        room = m_pages.isEmpty() ? firstRows : otherRows;
        const qsizetype count = std::min<qsizetype>(room, rows - start);
        for (int band = 0; band < m_bands.size(); ++band) {
            m_pages << Page{band, start, count, true, false};
        }
        start += count;
    } while (start < rows);
    int left = room - static_cast<int>(m_pages.last().rowCount);
    PlaceClosing(left, otherRows);
    if (!m_content.signature) {
        return;
    }
    if (left >= SignatureLines()) {
        m_pages.last().signature = true;
    } else {
        m_pages << Page{m_pages.last().band, rows, 0, false, true};
    }
}

int TableReport::SignatureLines() const {
    return kSignatureLines + static_cast<int>(m_content.verified.size());
}

void TableReport::PlaceClosing(int& left, int pageLines) {
    const qsizetype closing = m_content.closing.size();
    qsizetype placed = 0;
    while (placed < closing) {
        // Under the table an empty line comes first; a page of their own starts with them.
        const int space = placed == 0 && m_pages.last().table ? kClosingSpace : 0;
        if (left - space < 1) {
            m_pages << Page{m_pages.last().band, m_content.rows.size(), 0, false, false};
            left = pageLines;
            continue;
        }
        Page& page = m_pages.last();
        page.firstClosing = placed;
        page.closingCount = std::min<qsizetype>(left - space, closing - placed);
        placed += page.closingCount;
        left -= space + static_cast<int>(page.closingCount);
    }
}

QString TableReport::Elided(const QString& text, double width) const {
    if (m_painter.TextWidth(text) <= width) {
        return text;
    }
    const QString ellipsis(QChar(0x2026));
    qsizetype fits = 0;
    qsizetype tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (m_painter.TextWidth(text.left(middle) + ellipsis) <= width) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    return text.left(fits) + ellipsis;
}

bool TableReport::Print() {
    if (!m_fitted) {
        Fit();
    }
    m_painter.SetDocumentInfo(m_content.documentTitle, ProgramText());
    for (int i = 0; i < PageCount(); ++i) {
        PaintPage(i);
    }
    return m_painter.EndDocument();
}

void TableReport::PaintPage(int index) {
    if (index > 0) {
        m_painter.NewPage();
    }
    const Page& page = m_pages[index];
    double y = 0;
    if (index == 0 && !m_content.picturePath.isEmpty()) {
        m_painter.DrawPicture(m_content.picturePath, 0, 0, kPictureLines * m_lineHeight);
        y += (kPictureLines + kBlockSpace) * m_lineHeight;
    }
    y = PaintHeader(y);
    if (index == 0) {
        y = PaintFirstPageTop(y);
        if (m_content.figure) {
            m_painter.DrawFigure(0, y, m_painter.PrintableWidth(), FigureHeight(),
                                 m_content.figure);
            y += FigureHeight() + kBlockSpace * m_lineHeight;
        }
    }
    if (page.table) {
        y = PaintTable(page, y);
    }
    if (page.closingCount > 0) {
        y = PaintClosing(page, y);
    }
    if (page.signature) {
        PaintSignature(y);
    }
    PaintFooter(index);
}

double TableReport::PaintHeader(double y) {
    m_painter.SetFont(m_fontSize, false);
    const double cell = m_painter.PrintableWidth() / kFieldsPerHeaderLine;
    const QList<HeaderCell> cells = HeaderCells(m_content.header);
    for (qsizetype i = 0; i < m_content.header.size(); ++i) {
        const double x = static_cast<double>(cells[i].column) * cell;
        const double top = y + static_cast<double>(cells[i].line) * m_lineHeight;
        const double width = static_cast<double>(cells[i].span) * cell;
        m_painter.DrawText(x, top, width, PagePainter::Align::Left,
                           Elided(FieldText(m_content.header[i]), width - m_gap));
    }
    return y + TopHeight(false);
}

double TableReport::PaintFirstPageTop(double y) {
    const double width = m_painter.PrintableWidth();
    bool any = false;
    if (!m_content.heading.isEmpty()) {
        m_painter.SetFont(m_fontSize, true);
        m_painter.DrawText(0, y, width, PagePainter::Align::Left, Elided(m_content.heading, width));
        y += m_lineHeight;
        any = true;
    }
    m_painter.SetFont(m_fontSize, false);
    for (const ReportField& field : m_content.details) {
        m_painter.DrawText(0, y, width, PagePainter::Align::Left, Elided(FieldText(field), width));
        y += m_lineHeight;
        any = true;
    }
    return any ? y + kBlockSpace * m_lineHeight : y;
}

double TableReport::PaintTable(const Page& page, double y) {
    const QList<int>& band = m_bands[page.band];
    const auto align = [&](int c) {
        return m_content.columns[c].alignRight ? PagePainter::Align::Right
                                               : PagePainter::Align::Left;
    };
    m_painter.SetFont(m_fontSize, true);
    double x = 0;
    for (const int c : band) {
        m_painter.DrawText(x, y, m_widths[c], align(c), m_content.columns[c].title);
        x += m_widths[c] + m_gap;
    }
    const double tableWidth = std::max(0.0, x - m_gap);
    y += m_lineHeight;
    m_painter.DrawRule(0, tableWidth, y + kRuleSpace * m_lineHeight / 2);
    y += kRuleSpace * m_lineHeight;
    m_painter.SetFont(m_fontSize, false);
    for (qsizetype r = page.firstRow; r < page.firstRow + page.rowCount; ++r) {
        const QStringList& row = m_content.rows[r];
        x = 0;
        for (const int c : band) {
            const bool marked = Marked(r, c);
            if (marked) {
                m_painter.SetFont(m_fontSize, true);
            }
            m_painter.DrawText(x, y, m_widths[c], align(c), row.value(c));
            if (marked) {
                m_painter.SetFont(m_fontSize, false);
            }
            x += m_widths[c] + m_gap;
        }
        y += m_lineHeight;
    }
    return y;
}

double TableReport::PaintClosing(const Page& page, double y) {
    const double width = m_painter.PrintableWidth();
    if (page.table && page.firstClosing == 0) {
        y += kClosingSpace * m_lineHeight;
    }
    m_painter.SetFont(m_fontSize, false);
    for (qsizetype i = page.firstClosing; i < page.firstClosing + page.closingCount; ++i) {
        m_painter.DrawText(0, y, width, PagePainter::Align::Left,
                           Elided(m_content.closing[i], width));
        y += m_lineHeight;
    }
    return y;
}

void TableReport::PaintSignature(double y) {
    const QString text =
        QStringList{LoadResString(1612) + kSignatureBlank, LoadResString(1049) + kSignatureBlank,
                    LoadResString(1613) + kSignatureBlank}
            .join(kSignatureGap);
    const double width = m_painter.PrintableWidth();
    m_painter.SetFont(m_fontSize, false);
    for (const QString& line : m_content.verified) {
        y += m_lineHeight;
        m_painter.DrawText(0, y, width, PagePainter::Align::Left, Elided(line, width));
    }
    m_painter.DrawText(0, y + m_lineHeight, width, PagePainter::Align::Left, Elided(text, width));
}

void TableReport::PaintFooter(int index) {
    const double width = m_painter.PrintableWidth();
    const double y = m_painter.PrintableHeight() - m_lineHeight;
    m_painter.DrawRule(0, width, y - (kFooterLines - 1) * m_lineHeight / 2);
    m_painter.SetFont(m_fontSize, false);
    const QDateTime& at = m_content.printedAt;
    m_painter.DrawText(0, y, width, PagePainter::Align::Left,
                       LoadResString(1611) + QLatin1Char(' ') + ShortDateText(at.date()) +
                           QLatin1Char(' ') + LongTimeText(at.time()));
    m_painter.DrawText(0, y, width, PagePainter::Align::Center, ProgramText());
    m_painter.DrawText(0, y, width, PagePainter::Align::Right,
                       LoadResString(1610).arg(index + 1).arg(PageCount()));
}

#include "data/TableReport.h"

#include "app/Errors.h"
#include "app/TextTables.h"
#include "support/QtPrint.h"
#include "support/RecordingPagePainter.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

using Text = RecordingPagePainter::Text;

constexpr double kA4Width = 595;
constexpr double kA4Height = 842;

// Record number (right), a text of varying length (left), a value (right), a unit (left).
ReportContent Measurements(int rows) {
    ReportContent content;
    content.header = {{QStringLiteral("App. de mesure:"), QStringLiteral("Ardel 20 IR")},
                      {QStringLiteral("Numéro de série:"), QStringLiteral("A20-0815")}};
    content.columns = {{QStringLiteral("No"), true},
                       {QStringLiteral("Text"), false},
                       {QStringLiteral("Value"), true},
                       {QStringLiteral("Unit"), false}};
    for (int i = 1; i <= rows; ++i) {
        content.rows << QStringList{QString::number(i), QStringLiteral("L") + QString(i % 7, 'x'),
                                    QString::number(i * 1.25, 'f', 2), QStringLiteral("mg/l")};
    }
    content.printedAt = QDateTime(QDate(2025, 1, 31), QTime(14, 30, 0));
    return content;
}

// `columns` columns whose values are `chars` characters long.
ReportContent Wide(int columns, int chars) {
    ReportContent content;
    for (int c = 0; c < columns; ++c) {
        content.columns << ReportColumn{QStringLiteral("C%1").arg(c), c % 2 == 0};
    }
    for (int r = 0; r < 3; ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c) {
            row << QString(chars, QChar(u'a' + c % 26));
        }
        content.rows << row;
    }
    content.signature = false;
    return content;
}

QList<Text> Matching(const QList<Text>& texts, const QString& pattern) {
    const QRegularExpression re(QStringLiteral("^") + pattern + QStringLiteral("$"));
    QList<Text> found;
    for (const Text& t : texts) {
        if (!t.bold && re.match(t.text).hasMatch()) {
            found << t;
        }
    }
    return found;
}

QSet<double> Starts(const QList<Text>& texts) {
    QSet<double> xs;
    for (const Text& t : texts) {
        xs.insert(t.Left());
    }
    return xs;
}

QSet<double> Ends(const QList<Text>& texts) {
    QSet<double> xs;
    for (const Text& t : texts) {
        xs.insert(t.Right());
    }
    return xs;
}

} // namespace

TEST(TableReport, EveryPageRepeatsHeaderAndTitlesAndEveryColumnLinesUp) {
    RecordingPagePainter painter(kA4Width, kA4Height, true);
    TableReport report(painter, Measurements(200));
    ASSERT_TRUE(report.Print());
    const int pages = report.PageCount();
    ASSERT_GT(pages, 2);
    EXPECT_EQ(painter.pages, pages);
    for (int p = 0; p < pages; ++p) {
        const QList<Text> page = painter.OnPage(p);
        QStringList bold;
        for (const Text& t : page) {
            if (t.bold) {
                bold << t.text;
            }
        }
        EXPECT_EQ(bold, (QStringList{"No", "Text", "Value", "Unit"})) << "page " << p + 1;
        EXPECT_EQ(Matching(page, QStringLiteral("App\\. de mesure: Ardel 20 IR")).size(), 1);
        EXPECT_EQ(Matching(page, LoadResString(1610).arg(p + 1).arg(pages)).size(), 1);
    }
    // Texts start at one x, values end at one x, over all pages.
    EXPECT_EQ(Ends(Matching(painter.texts, QStringLiteral("\\d+"))).size(), 1);
    EXPECT_EQ(Starts(Matching(painter.texts, QStringLiteral("Lx*"))).size(), 1);
    EXPECT_EQ(Ends(Matching(painter.texts, QStringLiteral("\\d+\\.\\d\\d"))).size(), 1);
    EXPECT_EQ(Starts(Matching(painter.texts, QStringLiteral("mg/l"))).size(), 1);
    EXPECT_GT(Starts(Matching(painter.texts, QStringLiteral("\\d+\\.\\d\\d"))).size(), 1);
    // Each record once, in order, its fields on one page and one line.
    const QList<Text> numbers = Matching(painter.texts, QStringLiteral("\\d+"));
    ASSERT_EQ(numbers.size(), 200);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(numbers[i].text, QString::number(i + 1));
        const QList<Text> value = painter.Find(QString::number((i + 1) * 1.25, 'f', 2));
        ASSERT_EQ(value.size(), 1);
        EXPECT_EQ(value[0].page, numbers[i].page);
        EXPECT_EQ(value[0].top, numbers[i].top);
        EXPECT_LE(numbers[i].top + 12, kA4Height - 12 * 1.5);
    }
}

TEST(TableReport, PortraitThenLandscapeThenSmallerFontThenBands) {
    struct Case {
        int columns;
        int chars;
        bool mayTurn;
        bool landscape;
        double points;
        int bands;
    };
    // Portrait holds 119 characters at 10 pt, landscape 168; a gap is three blanks.
    const Case cases[] = {{6, 12, true, false, 10, 1},
                          {10, 12, true, true, 10, 1},
                          {10, 12, false, false, 8, 1},
                          {12, 20, true, true, 7, 2},
                          {16, 20, false, false, 7, 3}};
    for (const Case& c : cases) {
        RecordingPagePainter painter(kA4Width, kA4Height, c.mayTurn);
        TableReport report(painter, Wide(c.columns, c.chars));
        report.Fit();
        SCOPED_TRACE(testing::Message() << c.columns << " columns of " << c.chars);
        EXPECT_EQ(painter.landscape, c.landscape);
        EXPECT_EQ(report.FontSize(), c.points);
        ASSERT_EQ(report.Bands().size(), c.bands);
        // Each band starts with the first column; every other column is in one band, in order.
        QList<int> dealt;
        for (const QList<int>& band : report.Bands()) {
            EXPECT_EQ(band.front(), 0);
            dealt += band.mid(c.bands > 1 ? 1 : 0);
        }
        QList<int> expected;
        for (int i = c.bands > 1 ? 1 : 0; i < c.columns; ++i) {
            expected << i;
        }
        EXPECT_EQ(dealt, expected);
        ASSERT_TRUE(report.Print());
        EXPECT_EQ(report.PageCount(), c.bands);
        for (const Text& t : painter.texts) {
            EXPECT_LE(t.Right(), painter.PrintableWidth() + 1e-6) << t.text.toStdString();
        }
    }
}

TEST(TableReport, SignatureBlockAfterTheLastRecordOrOnAPageOfItsOwn) {
    const auto signatures = [](const RecordingPagePainter& painter) {
        QList<Text> found;
        for (const Text& t : painter.texts) {
            if (t.text.startsWith(LoadResString(1612))) {
                found << t;
            }
        }
        return found;
    };
    RecordingPagePainter painter(kA4Width, kA4Height, true);
    TableReport report(painter, Measurements(3));
    ASSERT_TRUE(report.Print());
    const QList<Text> block = signatures(painter);
    ASSERT_EQ(block.size(), 1);
    EXPECT_EQ(block[0].page, 0);
    EXPECT_GT(block[0].top, painter.Find(QStringLiteral("3")).front().top);
    EXPECT_TRUE(block[0].text.contains(LoadResString(1613)));

    ReportContent without = Measurements(3);
    without.signature = false;
    RecordingPagePainter none(kA4Width, kA4Height, true);
    ASSERT_TRUE(TableReport(none, without).Print());
    EXPECT_TRUE(signatures(none).isEmpty());

    // The block needs an empty line and its own: with one line left, it gets a page.
    RecordingPagePainter probe(kA4Width, kA4Height, true);
    ASSERT_TRUE(TableReport(probe, Measurements(500)).Print());
    const auto perPage = Matching(probe.OnPage(0), QStringLiteral("\\d+")).size();
    for (const auto rows : {perPage - 1, perPage - 2}) {
        RecordingPagePainter full(kA4Width, kA4Height, true);
        TableReport filled(full, Measurements(static_cast<int>(rows)));
        ASSERT_TRUE(filled.Print());
        SCOPED_TRACE(rows);
        EXPECT_EQ(filled.PageCount(), rows == perPage - 1 ? 2 : 1);
        EXPECT_EQ(signatures(full).front().page, filled.PageCount() - 1);
    }

    // Who verified the records stands in the block, above its blanks, and needs its room:
    // where the block alone just fitted, a line more turns the page.
    ReportContent verified = Measurements(static_cast<int>(perPage - 2));
    verified.verified = {QStringLiteral("Vérifié par claire le 12/03/2024")};
    RecordingPagePainter signedPainter(kA4Width, kA4Height, true);
    TableReport signedReport(signedPainter, verified);
    ASSERT_TRUE(signedReport.Print());
    EXPECT_EQ(signedReport.PageCount(), 2);
    const QList<Text> by = signedPainter.Find(verified.verified[0]);
    ASSERT_EQ(by.size(), 1);
    EXPECT_EQ(by[0].page, 1);
    EXPECT_EQ(signatures(signedPainter).front().page, 1);
    EXPECT_LT(by[0].top, signatures(signedPainter).front().top);
}

// Marked values are bold in a column wide enough for them; the closing line saying why
// follows the last row, before the signature block.
TEST(TableReport, MarkedValuesAreBoldWithALegendBeforeTheSignature) {
    ReportContent content = Measurements(3);
    content.markedColumn = 2;
    content.markedRows = {false, true, false};
    content.rows[1][2] = QStringLiteral("123456.50 *"); // the widest value of its column
    content.closing = {QStringLiteral("* beyond")};
    RecordingPagePainter painter(kA4Width, kA4Height, true);
    ASSERT_TRUE(TableReport(painter, content).Print());
    const QList<Text> value = painter.Find(QStringLiteral("123456.50 *"));
    ASSERT_EQ(value.size(), 1);
    EXPECT_TRUE(value[0].bold);
    EXPECT_GE(value[0].Left(), value[0].x - 1e-9) << "the column holds the bold text";
    EXPECT_FALSE(painter.Find(QStringLiteral("1.25")).front().bold);
    EXPECT_FALSE(painter.Find(QStringLiteral("2")).front().bold); // the row's other cells
    const QList<Text> legend = painter.Find(QStringLiteral("* beyond"));
    ASSERT_EQ(legend.size(), 1);
    EXPECT_GT(legend[0].top, painter.Find(QStringLiteral("3.75")).front().top);
    for (const Text& t : painter.texts) {
        if (t.text.startsWith(LoadResString(1612))) {
            EXPECT_GT(t.top, legend[0].top);
        }
    }
}

TEST(TableReport, APageTooSmallForOneRecordIsAnError) {
    RecordingPagePainter painter(kA4Width, 60, false);
    TableReport report(painter, Measurements(5));
    EXPECT_THROW(report.Fit(), MervexError);
}

TEST(TableReport, AFigureOnTheFirstPageAndClosingLinesBetweenTheRowsAndTheSignature) {
    ReportContent content = Measurements(3);
    content.heading = QStringLiteral("Heading");
    content.figure = [](QPainter&, const QRectF&) {};
    content.closing = {QStringLiteral("Summary"), QStringLiteral("Closing")};
    RecordingPagePainter painter(kA4Width, kA4Height, true);
    ASSERT_TRUE(TableReport(painter, content).Print());
    ASSERT_EQ(painter.figures.size(), 1);
    const RecordingPagePainter::Figure figure = painter.figures.front();
    EXPECT_EQ(figure.page, 0);
    EXPECT_EQ(figure.width, painter.PrintableWidth());
    EXPECT_GT(figure.height, painter.PrintableHeight() / 4);
    EXPECT_GT(figure.top, painter.Find(QStringLiteral("Heading")).front().top);
    EXPECT_GE(painter.Find(QStringLiteral("No")).front().top, figure.top + figure.height);
    const double lastRow = painter.Find(QStringLiteral("3")).front().top;
    const double summary = painter.Find(QStringLiteral("Summary")).front().top;
    EXPECT_GT(summary, lastRow + 1.5 * painter.TextHeight(QString()));
    EXPECT_GT(painter.Find(QStringLiteral("Closing")).front().top, summary);
    const auto signature = [](const RecordingPagePainter& p) {
        for (const Text& t : p.texts) {
            if (t.text.startsWith(LoadResString(1612))) {
                return t;
            }
        }
        return Text{};
    };
    EXPECT_GT(signature(painter).top, painter.Find(QStringLiteral("Closing")).front().top);

    // More closing lines than the last page holds go on pages of their own, without the
    // column titles, every line once and in order, the signature after the last.
    ReportContent longer = Measurements(3);
    for (int i = 0; i < 150; ++i) {
        longer.closing << QStringLiteral("c%1").arg(i);
    }
    RecordingPagePainter many(kA4Width, kA4Height, true);
    TableReport report(many, longer);
    ASSERT_TRUE(report.Print());
    EXPECT_GE(report.PageCount(), 3);
    EXPECT_EQ(many.Find(QStringLiteral("No")).size(), 1);
    Text previous = many.Find(QStringLiteral("c0")).front();
    EXPECT_EQ(previous.page, 0);
    for (int i = 1; i < 150; ++i) {
        const QList<Text> found = many.Find(QStringLiteral("c%1").arg(i));
        ASSERT_EQ(found.size(), 1) << i;
        EXPECT_TRUE(found[0].page > previous.page ||
                    (found[0].page == previous.page && found[0].top > previous.top))
            << i;
        EXPECT_LT(found[0].top + painter.TextHeight(QString()), many.PrintableHeight()) << i;
        previous = found[0];
    }
    EXPECT_EQ(signature(many).page, report.PageCount() - 1);
    EXPECT_GT(signature(many).page * 1e6 + signature(many).top, previous.page * 1e6 + previous.top);
}

#include "CliLocale.h"
#include "app/Services.h"
#include "meter/ColumnKind.h"
#include "support/CliRunner.h"
#include "support/DatasetFiles.h"
#include "support/PdfText.h"
#include "support/PhotometerRecords.h"
#include "support/QtPrint.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

namespace {

const QString kModel = QStringLiteral("Zentravox");

class CliReportTest : public ::testing::Test {
protected:
    QString SaveDataset(const QStringList& records) {
        MValSet set;
        set.strMeter = kModel;
        set.strSerNo = QStringLiteral("ZX-0815");
        set.strUser = QStringLiteral("René");
        set.curDate = QDateTime(QDate(2024, 7, 12), QTime(8, 4, 3));
        set.strMVals = QStringLiteral("\r\n") + records.join(QStringLiteral("\r\n")) +
                       QStringLiteral("\r\n!\r\n>");
        const QString path = dir.file(QStringLiteral("photometer.csv"));
        EXPECT_TRUE(services.measVal.SaveFile(set, path));
        return path;
    }

    QString Print(const QString& in, const QString& name, const QStringList& options = {}) {
        const QString out = dir.file(name);
        const CliResult r = RunCli(QStringList{QStringLiteral("print"), in, out} + options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return out;
    }

    // Whether each column of the photometer layout is aligned right (numbers).
    QList<bool> RightAligned() {
        QStringList titles(16);
        QList<short> widths(16);
        QList<int> kinds(16);
        const int n = services.device.GetTableConfig(titles, widths, kinds, kModel);
        QList<bool> right;
        for (int i = 0; i < n; ++i) {
            right << (kinds[i] != kTextColumn);
        }
        return right;
    }

    CliLocale locale;
    TempDir dir;
    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
};

// Records whose fields hold no blank and are never empty, so that each field is one word.
QStringList OneWordRecords(int count) {
    return WidePhotometerRecords(count).replaceInStrings(QStringLiteral("> MR"),
                                                         QStringLiteral("OK"));
}

} // namespace

TEST_F(CliReportTest, ThreeHundredRecordsAsATableWithTitlesAndPageNumbersOnEveryPage) {
    const QString in = SaveDataset(WidePhotometerRecords(300));
    const QString out = Print(in, QStringLiteral("report.pdf"));
    const QList<QStringList> pages = PdfPages(out);
    ASSERT_GT(pages.size(), 2);
    const QString n = QString::number(pages.size());
    for (int p = 0; p < pages.size(); ++p) {
        const QString text = pages[p].join(QLatin1Char('\n'));
        SCOPED_TRACE(p + 1);
        EXPECT_TRUE(text.contains(QStringLiteral("App. de mesure: Zentravox")));
        EXPECT_TRUE(text.contains(QStringLiteral("Fichier: photometer.csv")));
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 / %2").arg(p + 1).arg(n)));
        EXPECT_TRUE(text.contains(QStringLiteral("Mervex ")));
        EXPECT_FALSE(text.contains(QStringLiteral("; ")));
    }
    // Page 2 starts with the titles of the layout, in the order of its columns.
    const QStringList& second = pages[1];
    const auto titles = std::find_if(second.cbegin(), second.cend(), [](const QString& line) {
        return line.startsWith(QStringLiteral("No Date Heure ID PROG"));
    });
    EXPECT_NE(titles, second.cend()) << second.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(pages.last().join(QLatin1Char('\n')).contains(QStringLiteral("Contrôlé par:")));
    EXPECT_EQ(PdfTitle(out), QStringLiteral("Mesures \u2014 Zentravox ZX-0815 \u2014 12/07/2024"));

    const QString bare = Print(in, QStringLiteral("bare.pdf"), {QStringLiteral("--no-signature")});
    EXPECT_FALSE(PdfLines(bare).join(QLatin1Char('\n')).contains(QStringLiteral("Contrôlé par:")));
}

// The dates of a printout (header, footer, the PDF's title) have the one form of the
// program's language and four-digit years, whatever the desktop: a US desktop wrote
// "7/12/24", a Swiss one "12.07.24".
TEST_F(CliReportTest, DatesOfThePrintoutHaveTheLanguagesOneForm) {
    const QString in = SaveDataset(OneWordRecords(3));
    const QDate today = QDate::currentDate();
    struct Desktop {
        const char* locale;
        QString date, time, title, printed;
    };
    const QList<Desktop> desktops = {
        {"en_US.UTF-8", "Date: 12 Jul 2024", "Time: 08:04:03",
         "Measurements \u2014 Zentravox ZX-0815 \u2014 12 Jul 2024",
         "Printed " + QLocale(QLocale::English).toString(today, QStringLiteral("d MMM yyyy"))},
        {"fr_CH.UTF-8", "Date: 12/07/2024", "Heure: 08:04:03",
         "Mesures \u2014 Zentravox ZX-0815 \u2014 12/07/2024",
         "Imprimé le " + today.toString(QStringLiteral("dd/MM/yyyy"))}};
    for (const Desktop& desktop : desktops) {
        SCOPED_TRACE(desktop.locale);
        const CliLocale language(desktop.locale);
        const QString out = Print(in, QStringLiteral("dates.pdf"));
        const QString text = PdfLines(out).join(QLatin1Char('\n'));
        EXPECT_TRUE(text.contains(desktop.date)) << text.toStdString();
        EXPECT_TRUE(text.contains(desktop.time)) << text.toStdString();
        EXPECT_TRUE(text.contains(desktop.printed)) << text.toStdString();
        EXPECT_EQ(PdfTitle(out), desktop.title);
    }
}

TEST_F(CliReportTest, ColumnsStartOrEndAtOneXAndNoRecordIsSplitOnEveryPaper) {
    const int count = 150;
    const QString in = SaveDataset(OneWordRecords(count));
    const QList<bool> right = RightAligned();
    for (const QString& paper : {QStringLiteral("A4"), QStringLiteral("Letter")}) {
        for (const bool landscape : {false, true}) {
            QStringList options{QStringLiteral("--page"), paper};
            if (landscape) {
                options << QStringLiteral("--landscape");
            }
            SCOPED_TRACE(options.join(' ').toStdString());
            const QList<QList<PdfWord>> pages =
                PdfWords(Print(in, paper + (landscape ? "-l.pdf" : "-p.pdf"), options));
            ASSERT_GT(pages.size(), 1);
            QList<QSet<long>> edges(right.size());
            QList<int> numbers;
            for (const QList<PdfWord>& page : pages) {
                for (const QList<PdfWord>& line : PdfWordLines(page)) {
                    // A record's line: its number first, then every other field on it.
                    if (line.size() != right.size() || !QRegularExpression(QStringLiteral("^\\d+$"))
                                                            .match(line[0].text)
                                                            .hasMatch()) {
                        continue;
                    }
                    numbers << line[0].text.toInt();
                    for (int c = 0; c < right.size(); ++c) {
                        edges[c].insert(std::lround((right[c] ? line[c].xMax : line[c].xMin) * 10));
                    }
                }
            }
            QList<int> expected(count);
            std::iota(expected.begin(), expected.end(), 1);
            EXPECT_EQ(numbers, expected);
            for (int c = 0; c < right.size(); ++c) {
                // Within a tenth of a point: the reader rounds the glyph boxes.
                const auto [low, high] = std::minmax_element(edges[c].cbegin(), edges[c].cend());
                EXPECT_LE(*high - *low, 1) << "column " << c;
            }
        }
    }
}

TEST_F(CliReportTest, TheListLayoutAndItsOptions) {
    const QString in = SaveDataset(WidePhotometerRecords(3));
    const QStringList lines =
        PdfLines(Print(in, QStringLiteral("list.pdf"), {"--layout", "lines", "--no-signature"}));
    EXPECT_TRUE(lines.contains(PrintedRecordLine(WidePhotometerRecords(3)[2])));
    const QString out = dir.file(QStringLiteral("x.pdf"));
    for (const QStringList& bad :
         {QStringList{"print", in, out, "--layout", "grid"},
          QStringList{"print", in, out, "--layout"},
          QStringList{"print", in, out, "--no-signature", "--no-signature"},
          QStringList{"print", in, out, "--layout", "lines", "--layout", "table"}}) {
        EXPECT_EQ(RunCli(bad).exitCode, 2) << bad.join(' ').toStdString();
    }
}

TEST_F(CliReportTest, RecordCriteriaPrintTheirRecordsUnderTheSelectionLine) {
    // Record i: program 300 + i % 10, measured on day 1 + i % 28 of January 2024, ID i.
    const QStringList records = ArchivePhotometerRecords(1, 30);
    const QString in = SaveDataset(records);
    const auto printed = [&](const QStringList& lines, auto lineOf) {
        QList<int> kept;
        for (int i = 0; i < records.size(); ++i) {
            if (lines.contains(lineOf(records[i]))) {
                kept << i + 1;
            }
        }
        return kept;
    };
    const QStringList table =
        PdfLines(Print(in, QStringLiteral("days.pdf"),
                       {"--from", "2024-01-10", "--to", "2024-01-12", "--id", "1"}));
    EXPECT_EQ(printed(table, ReportRecordLine), (QList<int>{10, 11}));
    EXPECT_TRUE(table.contains(QStringLiteral("Sélection: 2 enregistrements sur 30")))
        << table.join('\n').toStdString();

    const QStringList list =
        PdfLines(Print(in, QStringLiteral("p305.pdf"), {"--layout", "lines", "--program", "305"}));
    EXPECT_EQ(printed(list, PrintedRecordLine), (QList<int>{5, 15, 25}));
    EXPECT_TRUE(list.contains(QStringLiteral("Sélection: 3 enregistrements sur 30")));

    const QStringList whole = PdfLines(Print(in, QStringLiteral("whole.pdf")));
    EXPECT_EQ(printed(whole, ReportRecordLine).size(), 30);
    EXPECT_FALSE(whole.join('\n').contains(QStringLiteral("Sélection")));
    EXPECT_EQ(
        RunCli({"print", in, dir.file(QStringLiteral("x.pdf")), "--from", "yesterday"}).exitCode,
        2);
}

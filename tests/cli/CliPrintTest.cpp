#include "CliLocale.h"
#include "app/Services.h"
#include "print/PdfLinePrinter.h"
#include "support/CliRunner.h"
#include "support/PdfText.h"
#include "support/PhotometerRecords.h"
#include "support/QtPrint.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QFile>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class CliPrintTest : public ::testing::Test {
protected:
    // The records as a dataset file of `model`; `saved` gets the dataset.
    QString SaveDataset(const QStringList& records,
                        const QString& model = QStringLiteral("Ardel 20 IR"),
                        MValSet* saved = nullptr) {
        MValSet local;
        MValSet& set = saved ? *saved : local;
        set.strMeter = model;
        set.strSerNo = QStringLiteral("A20-0815");
        set.strUser = QStringLiteral("René");
        set.curDate = QDateTime(QDate(2024, 7, 12), QTime(8, 4, 3));
        set.strMVals = QStringLiteral("\r\n") + records.join(QStringLiteral("\r\n")) +
                       QStringLiteral("\r\n!\r\n>");
        const QString path = dir.file(model + QStringLiteral(".csv"));
        EXPECT_TRUE(services.measVal.SaveFile(set, path));
        return path;
    }

    QString TitleLine() {
        QStringList titles(16);
        QList<short> widths(16);
        QList<int> kinds(16);
        const int n = services.device.GetTableConfig(titles, widths, kinds, "Ardel 20 IR");
        return (titles.mid(0, n).join(QStringLiteral("; ")) + QStringLiteral(";")).simplified();
    }

    // Lines per page of the PDF printer, from its own metrics.
    int LinesPerPage() {
        PdfLinePrinter printer(dir.file(QStringLiteral("metrics.pdf")));
        printer.SetFontSize(11);
        return static_cast<int>(std::nearbyint(
            printer.PrintableHeight() / printer.TextHeight(QStringLiteral("test")) - 2));
    }

    CliLocale locale;
    TempDir dir;
    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
};

} // namespace

TEST_F(CliPrintTest, DatasetFileIntoAPdfOverSeveralPages) {
    QStringList records;
    for (int i = 1; i <= 150; ++i) {
        records << QStringLiteral("%1;12/07/24;09:05;%2;4.2%3;NTU;OK;;1/1/26;8:00")
                       .arg(i)
                       .arg(i % 7)
                       .arg(i % 10);
    }
    const QString out = dir.file(QStringLiteral("dataset.pdf"));
    const CliResult r = RunCli({QStringLiteral("print"), SaveDataset(records), out,
                                QStringLiteral("--layout"), QStringLiteral("lines")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    QStringList expected{"App. de mesure: Ardel 20 IR",
                         "Numéro de série: A20-0815",
                         "Utilisateur: René",
                         "Date: 12/07/2024",
                         "Heure: 08:04:03",
                         "",
                         TitleLine()};
    for (const QString& record : records) {
        expected << PrintedRecordLine(record);
    }
    const QList<QStringList> pages = PdfPages(out);
    const int perPage = LinesPerPage();
    // Every page shows its lines after two empty ones; only the last page is not full.
    ASSERT_EQ(pages.size(), (expected.size() + perPage - 3) / (perPage - 2)); // rounded up
    QStringList all;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p + 1 < pages.size()) {
            EXPECT_EQ(pages[p].size(), perPage - 2) << "page " << p;
        }
        all += pages[p];
    }
    EXPECT_EQ(all, expected);
}

TEST_F(CliPrintTest, UnreadableDatasetFiles) {
    const QString out = dir.file(QStringLiteral("x.pdf"));
    const CliResult missing =
        RunCli({QStringLiteral("print"), dir.file(QStringLiteral("none.csv")), out});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("Erreur de lecture du fichier!\n"));

    const QString notCsv = dir.file(QStringLiteral("other.csv"));
    WriteBytes(notCsv, "just some text\r\n");
    const CliResult wrong = RunCli({QStringLiteral("print"), notCsv, out});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.err, QStringLiteral("Format CSV incorrect!\n"));
    EXPECT_FALSE(QFile::exists(out));

    EXPECT_EQ(RunCli({QStringLiteral("print"), notCsv}).exitCode, 2);
}

TEST_F(CliPrintTest, APhotometerDatasetHoldsEveryFieldOfEveryRecordOnA4AndLetter) {
    const QStringList records = WidePhotometerRecords(60);
    MValSet set;
    const QString in = SaveDataset(records, QStringLiteral("Zentravox"), &set);

    for (const QString& page : {QStringLiteral("A4"), QStringLiteral("Letter")}) {
        const QString out = dir.file(page + QStringLiteral(".pdf"));
        const CliResult r = RunCli({QStringLiteral("print"), in, out, QStringLiteral("--page"),
                                    page, QStringLiteral("--layout"), QStringLiteral("lines")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList lines = PdfLines(out);
        for (const QString& record : records) {
            const QString line = PrintedRecordLine(record);
            EXPECT_TRUE(lines.contains(line)) << page.toStdString() << ": " << line.toStdString();
        }
    }

    // Forced portrait is not offered: portrait cuts the record, which is why the page turns.
    const QString cut = dir.file(QStringLiteral("narrow.pdf"));
    PdfLinePrinter portrait(cut, QPageSize(QPageSize::A4), PageOrientation::Portrait);
    services.print.SetOptions({PrintLayout::Lines, false});
    ASSERT_TRUE(services.print.PrintMVals(portrait, set.strMeter, set.strSerNo, set.strUser,
                                          set.curDate, set.strMVals));
    const QList<QStringList> narrow = PdfPages(cut);
    ASSERT_FALSE(narrow.isEmpty());
    EXPECT_FALSE(narrow[0].join(QLatin1Char('\n')).contains(QStringLiteral("23:59:59")))
        << "a portrait A4 page cuts the calibration time";
}

TEST_F(CliPrintTest, PageOptionsOfBothPrintCommands) {
    const QString in = SaveDataset({QStringLiteral("1;12/07/24;09:05;7;4.2")});
    const QString a4 = dir.file(QStringLiteral("a4.pdf"));
    const QString letter = dir.file(QStringLiteral("letter.pdf"));
    ASSERT_EQ(RunCli({QStringLiteral("print"), QStringLiteral("--landscape"), in, a4}).exitCode, 0);
    ASSERT_EQ(RunCli({QStringLiteral("print"), in, letter, QStringLiteral("--page"),
                      QStringLiteral("Letter")})
                  .exitCode,
              0);
    // pdfinfo of poppler reads the page size back: A4 landscape and Letter portrait.
    const auto pageSize = &PdfPageSize;
    EXPECT_TRUE(pageSize(a4).startsWith(QStringLiteral("Page size: 842 x 595 pts (A4)")))
        << pageSize(a4).toStdString();
    EXPECT_TRUE(pageSize(letter).startsWith(QStringLiteral("Page size: 612 x 792 pts (letter)")))
        << pageSize(letter).toStdString();

    for (const QStringList& bad :
         {QStringList{"print", in, a4, "--page", "A3"}, QStringList{"print", in, a4, "--page"},
          QStringList{"print", in, a4, "--landscape", "--landscape"},
          QStringList{"protocol", "print", in, "--page", "Letter"}}) {
        EXPECT_EQ(RunCli(bad).exitCode, 2) << bad.join(' ').toStdString();
    }
}

#include "CliLocale.h"
#include "app/Services.h"
#include "print/PdfLinePrinter.h"
#include "support/CliRunner.h"
#include "support/PdfText.h"
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
    QString SaveDataset(const QStringList& records) {
        MValSet set;
        set.strMeter = QStringLiteral("Ardel 20 IR");
        set.strSerNo = QStringLiteral("A20-0815");
        set.strUser = QStringLiteral("René");
        set.curDate = QDateTime(QDate(2024, 7, 12), QTime(8, 4, 3));
        set.strMVals = QStringLiteral("\r\n") + records.join(QStringLiteral("\r\n")) +
                       QStringLiteral("\r\n!\r\n>");
        const QString path = dir.file(QStringLiteral("Ardel 20 IR.csv"));
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
    const CliResult r = RunCli({QStringLiteral("print"), SaveDataset(records), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    QStringList expected{"App. de mesure: Ardel 20 IR",
                         "Numéro de série: A20-0815",
                         "Utilisateur: René",
                         "Date: 12 Jul 2024",
                         "Heure: 08:04:03",
                         "",
                         TitleLine()};
    for (const QString& record : records) {
        expected << (record.split(QLatin1Char(';')).join(QStringLiteral("; ")) +
                     QStringLiteral(";"));
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

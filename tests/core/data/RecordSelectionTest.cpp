#include "data/RecordSelection.h"

#include "app/Services.h"
#include "data/CPrint.h"
#include "data/ExportDataset.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordColumns.h"
#include "data/RecordFilter.h"
#include "support/DatasetFiles.h"
#include "support/RecordingPagePainter.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/WorkbookReader.h"

#include <gtest/gtest.h>

// A printout or an export of the rows a table shows: exactly those records, in the table's
// order, under a header that says how many of how many they are.
namespace {

class RecordSelectionTest : public ::testing::Test {
protected:
    RecordSelectionTest() {
        // Record i: program 300 + i % 10, measured on day 1 + i % 28 of January, ID i.
        records = ArchivePhotometerRecords(1, 30);
        set.strMeter = QStringLiteral("Zentravox");
        set.strSerNo = QStringLiteral("ZV-0815");
        set.strUser = QStringLiteral("René");
        set.curDate = QDateTime(QDate(2024, 7, 12), QTime(8, 4, 3));
        set.strMVals = QStringLiteral("\r\n") + records.join(QStringLiteral("\r\n")) +
                       QStringLiteral("\r\n!\r\n>");
    }

    std::vector<int> Rows(const RecordFilter& filter) {
        const RecordLayout columns = ExportLayoutFor(services.device, set.strMeter).record;
        const RecordSelection selection = FilteredSelection(set.strMVals, filter, columns);
        EXPECT_FALSE(selection.IsWhole());
        EXPECT_EQ(selection.Total(), 30);
        return Kept(selection);
    }

    // The record numbers (field "No") of the records a selection writes.
    std::vector<int> Kept(const RecordSelection& selection) {
        std::vector<int> numbers;
        const QString text = selection.Records(set.strMVals);
        for (const QString& line : text.split(QStringLiteral("\r\n"))) {
            if (line.contains(QLatin1Char(';'))) {
                numbers.push_back(line.section(QLatin1Char(';'), 0, 0).toInt());
            }
        }
        return numbers;
    }

    QStringList records;
    MValSet set;
    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
};

} // namespace

TEST_F(RecordSelectionTest, TheFilterBarsCriteriaChooseTheRecordsAndTheSampleId) {
    RecordFilter program;
    program.group = QStringLiteral("305");
    EXPECT_EQ(Rows(program), (std::vector<int>{5, 15, 25}));
    RecordFilter period;
    period.from = QDate(2024, 1, 10);
    period.to = QDate(2024, 1, 12);
    EXPECT_EQ(Rows(period), (std::vector<int>{9, 10, 11}));
    RecordFilter id = program;
    id.id = QStringLiteral("2");
    EXPECT_EQ(Rows(id), (std::vector<int>{25})) << "the sample ID, not the record number 2";

    // Letter case is ignored; a text ID matches where it is contained.
    set.strMVals.replace(QStringLiteral(";15;305;"), QStringLiteral(";Bk-A7x;305;"));
    RecordFilter text;
    text.id = QStringLiteral("a7");
    EXPECT_EQ(Rows(text), (std::vector<int>{15}));

    // Without criteria the whole dataset, its text untouched.
    const RecordSelection whole = FilteredSelection(set.strMVals, RecordFilter(), RecordLayout());
    EXPECT_TRUE(whole.IsWhole());
    EXPECT_EQ(whole.Records(set.strMVals), set.strMVals);
    EXPECT_TRUE(whole.Note().isEmpty());

    // A table's order is kept, and said as "n of m".
    const RecordSelection shown({24, 4, 14}, 30);
    EXPECT_EQ(Kept(shown), (std::vector<int>{25, 5, 15}));
    EXPECT_EQ(shown.Note(), QStringLiteral("3 enregistrements sur 30"));
}

TEST_F(RecordSelectionTest, APrintoutHoldsTheShownRowsInTheirOrderUnderTheSelectionLine) {
    const RecordSelection shown({24, 4, 14}, 30);
    RecordingPagePainter report(595, 842, true);
    ASSERT_TRUE(services.print.PrintMVals(report, set.strMeter, set.strSerNo, set.strUser,
                                          set.curDate, set.strMVals, QString(), shown));
    const QList<RecordingPagePainter::Text> note =
        report.Find(QStringLiteral("Sélection: 3 enregistrements sur 30"));
    ASSERT_EQ(note.size(), 1);
    EXPECT_EQ(note[0].width, report.PrintableWidth()) << "a line of its own, never cut";
    QList<double> tops;
    for (const QString& id : QStringList{"25", "5", "15"}) {
        const QList<RecordingPagePainter::Text> cells = report.Find(id);
        ASSERT_FALSE(cells.isEmpty()) << id.toStdString();
        tops << cells.back().top; // the ID column, after the record number
    }
    EXPECT_TRUE(tops[0] < tops[1] && tops[1] < tops[2]) << "the table's order";
    for (const QString& absent : QStringList{"1", "6", "24", "30"}) {
        EXPECT_TRUE(report.Find(absent).isEmpty()) << absent.toStdString();
    }

    // The list layout says it too; the whole dataset's printout never does.
    auto log = std::make_shared<PrinterLog>();
    services.print.SetOptions({PrintLayout::Lines, true});
    ASSERT_TRUE(services.print.PrintMVals(*NewRecordingPrinter(log, QStringLiteral("L")),
                                          set.strMeter, set.strSerNo, set.strUser, set.curDate,
                                          set.strMVals, QString(), shown));
    const QStringList lines = log->documents[0].AllLines();
    EXPECT_EQ(lines[7].trimmed(), QStringLiteral("Sélection: 3 enregistrements sur 30"));
    EXPECT_EQ(lines.mid(10).replaceInStrings(QStringLiteral(" "), QString()),
              QStringList({records[24] + ';', records[4] + ';', records[14] + ';'}));
    ASSERT_TRUE(services.print.PrintMVals(*NewRecordingPrinter(log, QStringLiteral("L")),
                                          set.strMeter, set.strSerNo, set.strUser, set.curDate,
                                          set.strMVals));
    EXPECT_FALSE(log->documents[1].AllLines().join('|').contains(QStringLiteral("Sélection")));
    EXPECT_EQ(log->documents[1].AllLines().size(), 8 + 1 + 30);
}

TEST_F(RecordSelectionTest, AWorkbookHoldsTheShownRowsAndSaysSoAboveTheTitles) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("shown.xlsx"));
    ASSERT_TRUE(ExportDataset(services.exportExcel, services.exportXlsx, set, path, {},
                              RecordSelection({24, 4}, 30)));
    const WorkbookSheet sheet = ReadWorkbook(path);
    ASSERT_TRUE(sheet.read);
    EXPECT_EQ(sheet.rows, 10);
    EXPECT_EQ(sheet.cells.value({7, 1}).value.toString(),
              QStringLiteral("Sélection: 2 enregistrements sur 30"));
    EXPECT_EQ(sheet.cells.value({8, 1}).value.toString(), QStringLiteral("No"));
    EXPECT_EQ(sheet.cells.value({9, 1}).value.toInt(), 25);
    EXPECT_EQ(sheet.cells.value({10, 1}).value.toInt(), 5);

    ASSERT_TRUE(ExportDataset(services.exportExcel, services.exportXlsx, set, path));
    const WorkbookSheet whole = ReadWorkbook(path, 8);
    EXPECT_EQ(whole.rows, 8 + 30);
    EXPECT_FALSE(whole.cells.contains({7, 1})) << "the whole dataset's sheet as it always was";
}

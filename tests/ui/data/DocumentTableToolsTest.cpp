#include "UiFixture.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveExtract.h"
#include "archive/ArchiveTarget.h"
#include "archive/QcStore.h"
#include "data/RecordColumns.h"
#include "support/RecordingPrinter.h"
#include "support/TempDir.h"
#include "support/WorkbookReader.h"
#include "ui/data/DatasetFilterBar.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/DocumentLimits.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocument.h"
#include "ui/data/frmStatistics.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kRecords = QStringLiteral(
    "1;12.03.24;09:05:03;17;320;PO4-P;;1:1;0.42;mg/l;OK;1.29;mg/l;OK;01.03.24;08:00\r\n"
    "2;12.03.24;09:40:10;18;310;NO3-N;;1:1;12.5;mg/l;OK;55.3;mg/l;OK;01.03.24;08:00\r\n"
    "3;13.03.24;10:12:00;19;320;PO4-P;;1:1;<0.05;mg/l;< MR;;;;01.03.24;08:00\r\n"
    "4;14.03.24;11:30:00;20;320;PO4-P;;1:1;0.87;mg/l;OK;2.67;mg/l;OK;01.03.24;08:00");

constexpr int kValue1 = 8;

class DocumentTableTools : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        ASSERT_TRUE(f.LogIn(QStringLiteral("claire")));
        f.RecogniseMeter(QStringLiteral("Zentravox"));
        f.link->ScriptOk(QStringLiteral("U.581\r\n"), kRecords);
        Doc().MenuImport();
        f.ui.Clear();
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    frmDocument& Doc() { return *f.main->ActiveDocument(); }
    QTableView& Table() { return *Doc().hfgMVals; }
    DatasetTableTools& Tools() { return Doc().TableTools(); }
    // The record numbers down the table as it shows them.
    QStringList Numbers() {
        QStringList numbers;
        for (int r = 0; r < Table().model()->rowCount(); ++r) {
            numbers << Table().model()->index(r, 0).data().toString();
        }
        return numbers;
    }
    void ClickTitle(int column) {
        QHeaderView* header = Table().horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    QString CountText() { return Tools().CountLabel().text(); }

    MainWindowFixture f;
};

} // namespace

TEST_F(DocumentTableTools, TitleClicksSortUpDownAndBackWithoutTouchingTheDataset) {
    const QString before = Doc().MVals().strMVals;
    ClickTitle(kValue1);
    EXPECT_EQ(Numbers(), (QStringList{"1", "4", "2", "3"}));
    ClickTitle(kValue1);
    EXPECT_EQ(Numbers(), (QStringList{"2", "4", "1", "3"}));
    ClickTitle(kValue1);
    EXPECT_EQ(Numbers(), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(Doc().MVals().strMVals, before);
    EXPECT_EQ(Table().model()->index(0, kValue1).data(Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
}

TEST_F(DocumentTableTools, SelectAllAndCopyGiveTitlesAndLocaleDecimalsRawKeepsDots) {
    f.ShownItem("mnuEditSelectAll")->trigger();
    f.ShownItem("mnuEditCopy")->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QStringList lines = data->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("No\tDate\tHeure\tID\tPROG")));
    EXPECT_EQ(lines[1].split('\t').value(kValue1), QStringLiteral("0,42"));
    EXPECT_EQ(lines[3].split('\t').value(kValue1), QStringLiteral("<0.05"));
    EXPECT_TRUE(data->html().contains(QStringLiteral("<td>0,42</td>")));
    f.ShownItem("mnuEditCopyRaw")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().split('\n').value(1).split('\t').value(kValue1),
              QStringLiteral("0.42"));
}

TEST_F(DocumentTableTools, FilterCountsKeepsTheSelectionAndEscapeShowsAllAgain) {
    EXPECT_EQ(CountText(), QStringLiteral("4 de 4 enregistrements"));
    f.ShownItem("mnuEditFind")->trigger();
    DatasetFilterBar& bar = Tools().FilterBar();
    ASSERT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.cboProgram->itemText(2), QStringLiteral("320 PO4-P"));
    Table().selectRow(3); // record 4
    bar.cboProgram->setCurrentIndex(2);
    EXPECT_EQ(CountText(), QStringLiteral("3 de 4 enregistrements"));
    EXPECT_EQ(Numbers(), (QStringList{"1", "3", "4"}));
    const QModelIndexList selected = Table().selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].row(), 2);
    // Typed text filters after the pause.
    QTest::keyClicks(bar.txtFind, QStringLiteral("mr"));
    EXPECT_EQ(CountText(), QStringLiteral("3 de 4 enregistrements"));
    QTest::qWait(DatasetFilterBar::kTypingPauseMs + 100);
    EXPECT_EQ(Numbers(), (QStringList{"3"}));
    QTest::keyClick(bar.txtFind, Qt::Key_Escape);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(CountText(), QStringLiteral("4 de 4 enregistrements"));
}

// The program list is made when the bar opens: a dataset shown while the bar is hidden
// waits for the next opening, one shown while it is open changes it at once.
TEST_F(DocumentTableTools, TheFilterBarListsTheProgramsOfEachNewDataset) {
    const auto programs = [this] {
        QStringList keys;
        for (int i = 0; i < Tools().FilterBar().cboProgram->count(); ++i) {
            keys << Tools().FilterBar().cboProgram->itemData(i).toString();
        }
        return keys;
    };
    const auto importAgain = [this](const QString& records) {
        Doc().SetModified(false);
        f.link->ScriptOk(QStringLiteral("U.581\r\n"), records);
        Doc().MenuImport();
    };
    const QString other =
        QStringLiteral("1;15.03.24;08:00:00;21;410;SiO2;;1:1;3.1;mg/l;OK;;;;01.03.24;08:00");
    importAgain(other);
    Tools().Find();
    EXPECT_EQ(programs(), (QStringList{"", "410"}));
    importAgain(kRecords);
    EXPECT_EQ(programs(), (QStringList{"", "310", "320"}));
    QTest::keyClick(Tools().FilterBar().txtFind, Qt::Key_Escape);
    importAgain(other);
    EXPECT_EQ(CountText(), QStringLiteral("1 de 1 enregistrements"));
    Tools().Find();
    EXPECT_EQ(programs(), (QStringList{"", "410"}));
}

TEST_F(DocumentTableTools, StatisticsFollowTheFilter) {
    f.ShownItem("mnuStatistics")->trigger();
    frmStatistics* stats = Tools().Statistics();
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->windowTitle(), QStringLiteral("Statistiques"));
    ASSERT_EQ(stats->Rows().size(), 2);
    EXPECT_EQ(stats->Rows()[1].count, 2);
    EXPECT_EQ(stats->Rows()[1].nonNumeric, 1);
    EXPECT_EQ(stats->grdStatistics->item(1, 5)->text(), QStringLiteral("0,645"));
    // Only OK values: the flagged text of record 3 leaves the count of texts.
    EXPECT_EQ(stats->chkOkOnly->text(), QStringLiteral("&valeurs OK seulement"));
    stats->chkOkOnly->setChecked(true);
    EXPECT_EQ(stats->Rows()[1].count, 2);
    EXPECT_EQ(stats->Rows()[1].nonNumeric, 0);
    stats->chkOkOnly->setChecked(false);
    Tools().Find();
    Tools().FilterBar().cboProgram->setCurrentIndex(1);
    ASSERT_EQ(stats->Rows().size(), 1);
    EXPECT_EQ(stats->Rows()[0].program, QStringLiteral("310"));
    stats->CopyStatistics();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("Programme\tNom")));
}

// Phosphate (320) at most 1.0, at most 0.5 from 14.03.24: record 4 (0.87 that day) is beyond,
// record 1 (0.42) is not; nitrate (310) has no limits. The document reads them from the
// archive when it gets a dataset, after showing it.
TEST_F(DocumentTableTools, BeyondTheLimitsIsColouredFilteredAndCounted) {
    TempDir home;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    // No archive yet: the document reads nothing, and makes no archive file either.
    MValSet first = Doc().MVals();
    Doc().ShowDataset(first, ArchiveExtract());
    EXPECT_FALSE(Doc().Limits().Reading());
    EXPECT_FALSE(QFileInfo::exists(ArchiveTarget::DefaultFile().path));
    {
        ArchiveDatabase db;
        ASSERT_TRUE(db.Open(ArchiveSettings::Read(f.main->services().ini)))
            << db.Error().toStdString();
        for (const auto& [upper, from] :
             {std::pair{1.0, QDate(2024, 1, 1)}, std::pair{0.5, QDate(2024, 3, 14)}}) {
            LimitValue limit;
            limit.program = 320;
            limit.upper = upper;
            limit.validFrom = from;
            ASSERT_TRUE(QcStore(db).AddLimit(limit));
        }
    }
    f.ShownItem("mnuStatistics")->trigger();
    QSignalSpy applied(&Doc().Limits(), &DocumentLimits::Applied);
    MValSet set = Doc().MVals();
    Doc().ShowDataset(set, ArchiveExtract());
    EXPECT_EQ(Numbers(), (QStringList{"1", "2", "3", "4"})); // shown before the limits come
    ASSERT_TRUE(applied.wait(20000));
    qputenv("XDG_DATA_HOME", saved);

    const auto colour = [&](int row) {
        return Table().model()->index(row, kValue1).data(Qt::BackgroundRole);
    };
    EXPECT_EQ(colour(3), QVariant(MValTableProxy::BeyondLimitBackground()));
    EXPECT_FALSE(colour(0).isValid());
    EXPECT_FALSE(Table().model()->index(3, kValue1 + 3).data(Qt::BackgroundRole).isValid());
    Tools().Find();
    QComboBox& state = *Tools().FilterBar().cboState;
    ASSERT_EQ(state.count(), 4);
    EXPECT_EQ(state.itemText(3), QStringLiteral("hors limite"));
    state.setCurrentIndex(3);
    EXPECT_EQ(Numbers(), (QStringList{"4"}));
    EXPECT_EQ(colour(0), QVariant(MValTableProxy::BeyondLimitBackground()));

    // The statistics count them for the program with limits only, in a column of their own.
    state.setCurrentIndex(0);
    const frmStatistics& stats = *Tools().Statistics();
    ASSERT_EQ(stats.Rows().size(), 2);
    EXPECT_EQ(stats.Rows()[0].program, QStringLiteral("310"));
    EXPECT_FALSE(stats.Rows()[0].beyond.has_value());
    EXPECT_EQ(stats.Rows()[1].beyond, 1);
    // Beside the flagged values ("dont signalées"), in view without scrolling.
    constexpr int kBeyond = 5;
    EXPECT_EQ(stats.grdStatistics->columnCount(), StatisticsTitles().size() + 1);
    EXPECT_EQ(stats.grdStatistics->horizontalHeaderItem(kBeyond)->text(),
              QStringLiteral("n au-delà de la limite"));
    EXPECT_EQ(stats.grdStatistics->item(1, kBeyond)->text(), QStringLiteral("1"));
    EXPECT_TRUE(stats.grdStatistics->item(0, kBeyond)->text().isEmpty());
    EXPECT_EQ(stats.grdStatistics->horizontalHeaderItem(kBeyond + 1)->text(),
              StatisticsTitles()[kBeyond]);
    // Another value column has no such count.
    stats.cboStatColumn->setCurrentIndex(1);
    EXPECT_EQ(stats.grdStatistics->columnCount(), StatisticsTitles().size());
}

// A document read back from the archive may hold records set aside there: greyed and struck
// through, their reason as tip, and counted nowhere, neither in the statistics nor in a
// printout, unless the filter's own choice also leaves them out.
TEST_F(DocumentTableTools, InvalidRecordsAreGreyedAndLeftOutOfStatisticsAndPrintouts) {
    auto log = std::make_shared<PrinterLog>();
    f.main->services().print.SetPrinterFactory(std::make_unique<RecordingPrinterFactory>(log));
    MValSet set = Doc().MVals();
    for (qint64 id = 1; id <= 4; ++id) {
        set.origins << RecordOrigin{QStringLiteral("S1"), QStringLiteral("claire"), 100 + id, 7};
    }
    set.origins[3].valid = false;
    set.origins[3].invalidReason = QStringLiteral("cuvette fêlée");
    f.ShownItem("mnuStatistics")->trigger();
    Doc().ShowDataset(set, ArchiveExtract());

    const QModelIndex invalid = Table().model()->index(3, kValue1);
    EXPECT_TRUE(invalid.data(Qt::FontRole).value<QFont>().strikeOut());
    EXPECT_EQ(invalid.data(Qt::ForegroundRole).value<QColor>(), MValTableProxy::InvalidForeground());
    EXPECT_EQ(invalid.data(Qt::ToolTipRole).toString(), QStringLiteral("Invalidé: cuvette fêlée"));
    EXPECT_FALSE(Table().model()->index(0, kValue1).data(Qt::FontRole).isValid());
    EXPECT_EQ(Numbers(), (QStringList{"1", "2", "3", "4"})) << "shown, not hidden";

    // Program 320 keeps record 1 (0.42) and the text of record 3; 0.87 is gone.
    const frmStatistics& stats = *Tools().Statistics();
    ASSERT_EQ(stats.Rows().size(), 2);
    EXPECT_EQ(stats.Rows()[1].count, 1);
    EXPECT_EQ(stats.Rows()[1].nonNumeric, 1);

    const auto printed = [&] {
        QStringList numbers;
        for (const QString& line : log->documents.last().AllLines()) {
            const QString first = line.trimmed().section(QLatin1Char(';'), 0, 0);
            if (line.count(QLatin1Char(';')) > 10 && first.toInt() > 0) {
                numbers << first;
            }
        }
        return numbers;
    };
    f.ui.messageAnswers = {MsgResult::Yes};
    f.main->ToolButton(QStringLiteral("Print"))->trigger();
    EXPECT_EQ(printed(), (QStringList{"1", "2", "3"}));
    EXPECT_TRUE(log->documents.last().AllLines().join('|').contains(
        QStringLiteral("Sélection: 3 enregistrements sur 4")));
    // Filtered to program 320 and printed with the dialog: the choice counts the records
    // that count, and either answer leaves the invalid one out.
    Tools().Find();
    Tools().FilterBar().cboProgram->setCurrentIndex(2);
    QString choice;
    f.ui.onPrintDialog = [&](const PrintRequest& request) {
        choice = request.shownChoice;
        PrintOptions options = request.options;
        options.shownOnly = false;
        request.setOptions(options);
        return NewRecordingPrinter(log, QStringLiteral("Choisie"));
    };
    Doc().findChild<QAction*>(QStringLiteral("mnuFilePrintTo"))->trigger();
    EXPECT_EQ(choice, QStringLiteral("Seulement les &lignes affichées (2 sur 4)"));
    EXPECT_EQ(printed(), (QStringList{"1", "2", "3"}));
    f.main->services().print.SetOptions({});
    EXPECT_EQ(stats.Rows().size(), 1);
    EXPECT_EQ(stats.Rows()[0].count, 1);
}

TEST_F(DocumentTableTools, PrintAndExportOfAFilteredSortedTableOfferOnlyTheRowsShown) {
    auto log = std::make_shared<PrinterLog>();
    f.main->services().print.SetPrinterFactory(std::make_unique<RecordingPrinterFactory>(log));
    Tools().Find();
    Tools().FilterBar().cboProgram->setCurrentIndex(2); // 320: records 1, 3 and 4
    ClickTitle(kValue1);
    ASSERT_EQ(Numbers(), (QStringList{"1", "4", "3"}));
    // The record numbers of a printout's record lines, in their order.
    const auto printed = [&] {
        QStringList numbers;
        for (const QString& line : log->documents.last().AllLines()) {
            const QString first = line.trimmed().section(QLatin1Char(';'), 0, 0);
            bool number = false;
            first.toInt(&number);
            if (number && line.count(QLatin1Char(';')) > 10) {
                numbers << first;
            }
        }
        return numbers;
    };
    const QString selectionLine = QStringLiteral("Sélection: 3 enregistrements sur 4");

    // The print dialog offers the choice, on; the printout is what the table shows.
    QString choice;
    f.ui.onPrintDialog = [&](const PrintRequest& request) {
        choice = request.shownChoice;
        EXPECT_TRUE(request.options.shownOnly);
        return NewRecordingPrinter(log, QStringLiteral("Choisie"));
    };
    Doc().findChild<QAction*>(QStringLiteral("mnuFilePrintTo"))->trigger();
    EXPECT_EQ(choice, QStringLiteral("Seulement les &lignes affichées (3 sur 4)"));
    EXPECT_EQ(printed(), (QStringList{"1", "4", "3"}));
    EXPECT_TRUE(log->documents.last().AllLines().join('|').contains(selectionLine));

    // Turned off, the whole dataset in the meter's order, as the later quick print.
    f.ui.onPrintDialog = [&](const PrintRequest& request) {
        PrintOptions options = request.options;
        options.shownOnly = false;
        request.setOptions(options);
        return NewRecordingPrinter(log, QStringLiteral("Choisie"));
    };
    Doc().findChild<QAction*>(QStringLiteral("mnuFilePrintTo"))->trigger();
    EXPECT_EQ(printed(), (QStringList{"1", "2", "3", "4"}));
    EXPECT_FALSE(log->documents.last().AllLines().join('|').contains(QStringLiteral("Sélection")));
    f.main->services().print.SetOptions({});

    // The spreadsheet asks, proposing the whole dataset; Yes writes the rows shown.
    TempDir dir;
    const QString path = dir.file(QStringLiteral("shown.xlsx"));
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::Yes};
    f.ui.dialogAnswers = {path};
    f.ShownItem("mnuExport")->trigger();
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text,
              QStringLiteral("Le tableau est filtré ou trié: il affiche 3 enregistrements sur 4. "
                             "Ne prendre que les lignes affichées, dans l'ordre du tableau?"));
    EXPECT_EQ(f.ui.messages[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(f.ui.messages[0].defaultButton, MsgResult::No);
    WorkbookSheet sheet = ReadWorkbook(path);
    EXPECT_EQ(sheet.cells.value({7, 1}).value.toString(), selectionLine);
    QList<int> rows;
    for (int r = 9; r <= sheet.rows; ++r) {
        rows << sheet.cells.value({r, 1}).value.toInt();
    }
    EXPECT_EQ(rows, (QList<int>{1, 4, 3}));
    // No: every record; Cancel: nothing asked further, nothing written.
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::No};
    f.ui.dialogAnswers = {path};
    f.ShownItem("mnuExport")->trigger();
    sheet = ReadWorkbook(path);
    EXPECT_EQ(sheet.rows, 8 + 4);
    EXPECT_FALSE(sheet.cells.contains({7, 1}));
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::Cancel, MsgResult::Cancel};
    f.ShownItem("mnuExport")->trigger();
    Doc().findChild<QAction*>(QStringLiteral("mnuFileExportPdf"))->trigger();
    EXPECT_EQ(f.ui.messages.size(), 2);
    EXPECT_EQ(f.ui.messages[1].defaultButton, MsgResult::Yes) << "a PDF is a printout";
    EXPECT_TRUE(f.ui.dialogs.isEmpty());
}

// A copy pastes as numbers: the locale's decimal separator and no group separator, whatever
// the window shows; "n" and "of which flagged" follow "valeurs OK seulement".
TEST_F(DocumentTableTools, StatisticsCopyHasTheLocalesDecimalsAndNoGroupSeparator) {
    const QStringList records = {
        "1;12.03.24;09:00:00;1;340;COD;;1:1;1500;mg/l;OK;;;;01.03.24;08:00",
        "2;12.03.24;10:00:00;2;340;COD;;1:1;1501;mg/l;OK;;;;01.03.24;08:00",
        "3;12.03.24;11:00:00;3;340;COD;;1:1;1600;mg/l;> MR;;;;01.03.24;08:00"};
    const QList<QStringView> lines(records.begin(), records.end());
    const ExportLayout layout =
        ExportLayoutFor(f.main->services().device, QStringLiteral("Zentravox"));
    frmStatistics stats(nullptr);
    stats.SetColumns(layout.record, layout.titles);
    stats.SetRecords(lines);
    const auto copied = [&] {
        stats.CopyStatistics();
        const QString text = QApplication::clipboard()->text();
        EXPECT_FALSE(text.contains(QChar(0x202f)) || text.contains(QChar(0xa0)));
        EXPECT_FALSE(QApplication::clipboard()->mimeData()->html().contains(QChar(0x202f)));
        return text.split('\n').value(1).split('\t');
    };
    // program, name, unit, n, of which flagged, mean, sd, CV, minimum, maximum, texts
    QStringList row = copied();
    EXPECT_EQ(row.mid(3, 2), (QStringList{"3", "1"}));
    EXPECT_EQ(row[5], QStringLiteral("1533,67"));
    EXPECT_EQ(row.mid(8, 2), (QStringList{"1500", "1600"}));
    stats.chkOkOnly->setChecked(true);
    row = copied();
    EXPECT_EQ(row.mid(3, 6), (QStringList{"2", "0", "1500,5", "0,707107", "0,0471247", "1500"}));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    row = copied();
    EXPECT_EQ(row.mid(5, 5), (QStringList{"1500.5", "0.707107", "0.0471247", "1500", "1501"}));
}

#include "UiFixture.h"
#include "app/BusyState.h"
#include "data/RecordColumns.h"
#include "ui/data/DatasetFilterBar.h"
#include "ui/data/DatasetGraphView.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocument.h"
#include "ui/data/frmDocumentGraph.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

const QString kRecords = QStringLiteral(
    "1;12.03.24;09:05:03;17;320;PO4-P;;1:1;0.42;mg/l;OK;1.29;mg/l;OK;01.03.24;08:00\r\n"
    "2;12.03.24;09:40:10;18;310;NO3-N;;1:1;12.5;mg/l;OK;55.3;mg/l;OK;01.03.24;08:00\r\n"
    "3;12.03.24;10:12:00;19;320;PO4-P;;1:1;<0.05;mg/l;< MR;;;;01.03.24;08:00\r\n"
    "4;12.03.24;11:30:00;20;320;PO4-P;;1:1;0.87;mg/l;OK;2.67;mg/l;OK;01.03.24;08:00\r\n"
    "5;12.03.24;12:00:00;21;310;NO3-N;;1:1;30.0;mg/l;> MR;;;;01.03.24;08:00");

QStringList SeriesNames(const frmDocumentGraph& graph) {
    QStringList names;
    for (const GraphSeries& s : graph.picGraph->Graph().series) {
        names << s.name;
    }
    return names;
}

// The tool tip shown for the point of the record numbered `no`, empty when none is found.
QString HoverText(frmDocumentGraph& graph, const QList<QStringView>& lines, const QString& no) {
    DatasetGraphView* view = graph.picGraph;
    view->grab(); // paints: the plot's place is known
    for (int x = 0; x < view->width(); x += 2) {
        for (int y = 0; y < view->height(); y += 2) {
            const int row = view->RowAt(QPointF(x, y));
            if (row >= 0 && RecordField(lines[row], 0) == no) {
                QHelpEvent help(QEvent::ToolTip, QPoint(x, y), view->mapToGlobal(QPoint(x, y)));
                QCoreApplication::sendEvent(view, &help);
                return QToolTip::text();
            }
        }
    }
    return QString();
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

class DocumentGraph : public ::testing::Test {
protected:
    // A photometer dataset imported from the (scripted) meter.
    void Import() {
        ASSERT_TRUE(f.LogIn(QStringLiteral("claire")));
        f.RecogniseMeter(QStringLiteral("Zentravox"));
        f.link->ScriptOk(QStringLiteral("U.581\r\n"), kRecords);
        Doc().MenuImport();
        f.ui.Clear();
    }
    // A saved turbidimeter dataset, opened as the program opens files.
    QString TurbidityFile() {
        const QString path = dir.file("turbidity.csv");
        const QString mvals = QStringLiteral(
            "\r\n1;02.12.24;08:00:00;Inlet 3;0.85;FNU;OK;Cal: OK;01.12.24;10:00\r\n"
            "2;02.12.24;08:30:00;Basin 1;1.20;FNU;OK;Cal: OK;01.12.24;10:00\r\n!\r\n>");
        EXPECT_TRUE(f.main->services().measVal.SaveFile(
            mvals, QStringLiteral("Ardel 60 IR"), QStringLiteral("SN-9"), QStringLiteral("ana"),
            QDateTime(QDate(2024, 12, 2), QTime(9, 0)), path));
        return path;
    }
    frmDocument& Doc() { return *f.main->ActiveDocument(); }

    MainWindowFixture f;
    TempDir dir;
};

} // namespace

TEST_F(DocumentGraph, ShowsTheFirstValueColumnWithOneSeriesPerProgram) {
    Import();
    QAction* item = f.ShownItem("mnuGraph");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("&Graphique"));
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    frmDocumentGraph* graph = Doc().Graph();
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(graph->isVisible());
    EXPECT_EQ(graph->windowTitle(), QStringLiteral("Graphique"));
    EXPECT_EQ(graph->lblGraphColumn->text(), QStringLiteral("Valeur représentée:"));
    EXPECT_EQ(Items(graph->cboGraphColumn), (QStringList{"Valeur 1", "Valeur 2"}));
    EXPECT_EQ(graph->cboGraphColumn->currentText(), QStringLiteral("Valeur 1"));
    EXPECT_EQ(Items(graph->cboGraphSeries),
              (QStringList{"(tous)", "310 NO3-N [mg/l]", "320 PO4-P [mg/l]"}));
    graph->cboGraphSeries->setCurrentIndex(0);
    EXPECT_EQ(SeriesNames(*graph), (QStringList{"310 NO3-N [mg/l]", "320 PO4-P [mg/l]"}));
    EXPECT_EQ(graph->picGraph->Graph().series[1].points.size(), 2);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();

    // Another column; the menu again brings the same window back.
    graph->cboGraphColumn->setCurrentIndex(1);
    EXPECT_EQ(graph->picGraph->Graph().title, QStringLiteral("Valeur 2"));
    EXPECT_EQ(graph->picGraph->Graph().series[1].points.size(), 2);
    graph->close();
    item->trigger();
    EXPECT_EQ(Doc().Graph(), graph);
    EXPECT_TRUE(graph->isVisible());
    EXPECT_EQ(graph->cboGraphColumn->currentText(), QStringLiteral("Valeur 2"));
}

TEST_F(DocumentGraph, SavesAPngPictureOfTheGraph) {
    Import();
    f.ShownItem("mnuGraph")->trigger();
    frmDocumentGraph* graph = Doc().Graph();
    ASSERT_NE(graph, nullptr);
    graph->cboGraphSeries->setCurrentIndex(0); // every program
    const QString path = dir.file("graph.png");
    f.ui.dialogAnswers = {path};
    graph->cmdSaveGraph->click();
    ASSERT_EQ(f.ui.dialogs.size(), 1);
    const FileDialogRequest& r = f.ui.dialogs[0].request;
    EXPECT_TRUE(f.ui.dialogs[0].save);
    EXPECT_EQ(r.title, QStringLiteral("Enregistrer sous"));
    EXPECT_EQ(r.filter, QStringLiteral("Image PNG (*.png)|*.png"));
    EXPECT_EQ(r.fileName, QStringLiteral("Zentravox"));
    EXPECT_EQ(r.defaultExtension, QStringLiteral("png"));
    EXPECT_TRUE(r.overwritePrompt);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
    QImage image;
    ASSERT_TRUE(image.load(path, "PNG"));
    EXPECT_EQ(image.size(), frmDocumentGraph::kImageSize);
    // Both series are drawn in their own colours.
    int blue = 0;
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            blue += pixel == qRgb(0x1f, 0x77, 0xb4);
            red += pixel == qRgb(0xd6, 0x27, 0x28);
        }
    }
    EXPECT_GT(blue, 10); // one record: a mark and the legend's swatch
    EXPECT_GT(red, 100); // two records: a line between them

    // A file that cannot be written is reported; a cancelled dialog writes nothing.
    f.ui.Clear();
    f.ui.dialogAnswers = {dir.file("missing/graph.png"), std::nullopt};
    graph->cmdSaveGraph->click();
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Erreur"));
    EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Critical);
    graph->cmdSaveGraph->click();
    EXPECT_EQ(f.ui.dialogs.size(), 2);
    EXPECT_EQ(f.ui.messages.size(), 1);
}

TEST_F(DocumentGraph, FollowsTheDocumentsDataset) {
    // No dataset: the usual message, no window.
    f.ShownItem("mnuGraph")->trigger();
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{QStringLiteral("Pas de groupes de données importés!")});
    EXPECT_EQ(Doc().Graph(), nullptr);

    Import();
    f.ShownItem("mnuGraph")->trigger();
    QPointer<frmDocumentGraph> graph = Doc().Graph();
    ASSERT_FALSE(graph.isNull());
    // An opened file replaces the document (one document at a time): its graph goes too.
    f.ui.messageAnswers = {MsgResult::No}; // do not save the import
    f.main->OpenDocument(TurbidityFile());
    ASSERT_FALSE(graph.isNull());
    EXPECT_FALSE(graph->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(graph.isNull());
    f.ShownItem("mnuGraph")->trigger();
    graph = Doc().Graph();
    ASSERT_FALSE(graph.isNull());
    EXPECT_EQ(Items(graph->cboGraphColumn), QStringList{"Valeur"});
    EXPECT_EQ(SeriesNames(*graph), QStringList{"FNU"});
    EXPECT_TRUE(graph->lblGraphNote->text().isEmpty());

    // A file whose records hold no number in the column: nothing to draw or save.
    const QString empty = dir.file("dashes.csv");
    ASSERT_TRUE(f.main->services().measVal.SaveFile(
        QStringLiteral("\r\n1;02.12.24;08:00:00;X;----;FNU;Err;;;\r\n!\r\n>"),
        QStringLiteral("Ardel 60 IR"), QStringLiteral("SN-9"), QStringLiteral("ana"),
        QDateTime(QDate(2024, 12, 2), QTime(9, 0)), empty));
    ASSERT_TRUE(Doc().FillFromFile(empty));
    EXPECT_TRUE(graph->picGraph->Graph().IsEmpty());
    EXPECT_FALSE(graph->cmdSaveGraph->isEnabled());
    EXPECT_EQ(graph->lblGraphNote->text(),
              QStringLiteral("Pas de valeur numérique dans cette colonne!"));
}

TEST_F(DocumentGraph, WaitsWhileTheProgramIsBusy) {
    Import();
    f.ShownItem("mnuGraph")->trigger();
    frmDocumentGraph* graph = Doc().Graph();
    ASSERT_NE(graph, nullptr);
    graph->close();
    {
        const BusyState::Hold busy(f.main->services().busy);
        EXPECT_FALSE(f.ShownItem("mnuGraph")->isEnabled());
        Doc().MenuGraph(); // a command that still arrives is ignored
        EXPECT_FALSE(graph->isVisible());
        EXPECT_FALSE(graph->cmdSaveGraph->isEnabledTo(graph));
        f.ui.dialogAnswers = {dir.file("busy.png")};
        emit graph->cmdSaveGraph->clicked(); // a click queued before the button went grey
        EXPECT_TRUE(f.ui.dialogs.isEmpty());
    }
    EXPECT_TRUE(f.ShownItem("mnuGraph")->isEnabled());
    EXPECT_TRUE(graph->cmdSaveGraph->isEnabledTo(graph));
}

TEST_F(DocumentGraph, OneProgramOnItsOwnScaleLegendTogglesHoverTellsTheRecordFollowsTheFilter) {
    Import();
    f.ShownItem("mnuGraph")->trigger();
    frmDocumentGraph* graph = Doc().Graph();
    ASSERT_NE(graph, nullptr);
    // The first program alone, its unit in the axis title, the axis scaled to 12.5.
    EXPECT_EQ(SeriesNames(*graph), QStringList{"310 NO3-N [mg/l]"});
    EXPECT_EQ(graph->picGraph->Graph().unit, QStringLiteral("mg/l"));
    EXPECT_GE(graph->picGraph->Graph().yMax, 12.5);
    graph->cboGraphSeries->setCurrentIndex(2);
    EXPECT_LT(graph->picGraph->Graph().yMax, 2.0);

    // Every program: hiding the large values lets the axis shrink to the small ones.
    graph->cboGraphSeries->setCurrentIndex(0);
    graph->resize(900, 600);
    graph->picGraph->grab(); // paints: the legend and plot places are known
    const qsizetype entries = graph->picGraph->Graph().series.size();
    ASSERT_EQ(entries, 2);
    QPointF legendNo3;
    for (int y = 0; y < graph->picGraph->height() && legendNo3.isNull(); ++y) {
        const QPointF at(graph->picGraph->width() - 40, y);
        if (graph->picGraph->LegendEntryAt(at) == 0) {
            legendNo3 = at;
        }
    }
    ASSERT_FALSE(legendNo3.isNull());
    QTest::mouseClick(graph->picGraph, Qt::LeftButton, {}, legendNo3.toPoint());
    EXPECT_EQ(graph->picGraph->Shown().series.size(), 1);
    EXPECT_LT(graph->picGraph->Shown().yMax, 2.0);
    QTest::mouseClick(graph->picGraph, Qt::LeftButton, {}, legendNo3.toPoint());
    EXPECT_EQ(graph->picGraph->Shown().series.size(), 2);

    // The point of record 4 (0.87 at 11:30) under the mouse.
    graph->cboGraphSeries->setCurrentIndex(2);
    graph->picGraph->grab(); // paints: the legend and plot places are known
    bool found = false;
    for (int x = 0; x < graph->picGraph->width() && !found; x += 2) {
        for (int y = 0; y < graph->picGraph->height() && !found; y += 2) {
            const int row = graph->picGraph->RowAt(QPointF(x, y));
            if (row >= 0 && Doc().TableTools().Proxy().ShownLines()[row].startsWith(u"4;")) {
                found = true;
            }
        }
    }
    EXPECT_TRUE(found);

    // The filter's program leaves only its series.
    Doc().TableTools().Find();
    Doc().TableTools().FilterBar().cboProgram->setCurrentIndex(1); // 310
    EXPECT_EQ(Items(graph->cboGraphSeries), (QStringList{"(tous)", "310 NO3-N [mg/l]"}));
}

TEST_F(DocumentGraph, NoteCountsTheShownProgramUnderTheFilterFlaggedPointsNamedInTheHover) {
    Import();
    f.ShownItem("mnuGraph")->trigger();
    frmDocumentGraph* graph = Doc().Graph();
    ASSERT_NE(graph, nullptr);
    const QString notPlotted =
        QStringLiteral("Enregistrements sans valeur numérique ou sans date, non représentés: %1");
    const QString flagged = QStringLiteral("Valeurs signalées (état autre que OK), marquées ×: %1");
    // 310 alone: its over-range value is drawn and flagged; 320's text is none of its business.
    ASSERT_EQ(graph->cboGraphSeries->currentText(), QStringLiteral("310 NO3-N [mg/l]"));
    EXPECT_EQ(graph->lblGraphNote->text(), flagged.arg(1));
    EXPECT_EQ(graph->picGraph->Graph().series[0].flagged, (QList<bool>{false, true}));
    graph->resize(900, 600);
    const QList<QStringView> lines = Doc().TableTools().Proxy().ShownLines();
    EXPECT_EQ(HoverText(*graph, lines, QStringLiteral("5")),
              QStringLiteral("No 5, 12.03.24 12:00:00, 30.0 mg/l, ID 21, état: > MR"));
    EXPECT_EQ(HoverText(*graph, lines, QStringLiteral("2")),
              QStringLiteral("No 2, 12.03.24 09:40:10, 12.5 mg/l, ID 18"));
    graph->cboGraphSeries->setCurrentIndex(2); // 320
    EXPECT_EQ(graph->lblGraphNote->text(), notPlotted.arg(1));
    graph->cboGraphSeries->setCurrentIndex(0); // every program
    EXPECT_EQ(graph->lblGraphNote->text(), notPlotted.arg(1) + '\n' + flagged.arg(1));

    // The filter keeps the OK records of 320: nothing left out of the program shown.
    graph->cboGraphSeries->setCurrentIndex(2);
    Doc().TableTools().Find();
    DatasetFilterBar& bar = Doc().TableTools().FilterBar();
    bar.cboState->setCurrentIndex(1);   // OK only
    bar.cboProgram->setCurrentIndex(2); // 320
    EXPECT_EQ(graph->cboGraphSeries->currentText(), QStringLiteral("320 PO4-P [mg/l]"));
    EXPECT_EQ(graph->picGraph->Graph().series[0].points.size(), 2);
    EXPECT_TRUE(graph->lblGraphNote->text().isEmpty()) << graph->lblGraphNote->text().toStdString();
}

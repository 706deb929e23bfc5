#include "UiFixture.h"
#include "support/RecordingPrinter.h"
#include "ui/data/frmDocument.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

// The main window with a printer of known metrics in place of the system's.
struct PrintFixture : MainWindowFixture {
    PrintFixture() {
        main->services().print.SetPrinterFactory(std::make_unique<RecordingPrinterFactory>(log));
    }

    // The open document holding a two-record turbidimeter dataset.
    void WithDataset() {
        MValSet& set = main->ActiveDocument()->MVals();
        set.strMVals =
            QStringLiteral("\r\n1;12/07/24;09:05;7;4.2\r\n2;12/07/24;09:06;8;4.3\r\n!\r\n>");
        set.strMeter = QStringLiteral("Ardel 20 IR");
        set.strSerNo = QStringLiteral("A20-7");
        set.strUser = QStringLiteral("Marie");
    }

    void Print() { main->ToolButton(QStringLiteral("Print"))->trigger(); }

    std::shared_ptr<PrinterLog> log = std::make_shared<PrinterLog>();
};

} // namespace

TEST(DocumentPrint, AsksNamingTheDefaultPrinterAndPrintsOnYes) {
    PrintFixture f;
    f.WithDataset();
    f.ui.messageAnswers = {MsgResult::No};
    f.Print();
    ASSERT_EQ(f.ui.messages.size(), 1);
    const ScriptedUi::MessageCall& q = f.ui.messages[0];
    EXPECT_EQ(q.text, QStringLiteral("Impression sur imprimante: Labo-Laser"));
    EXPECT_EQ(q.title, QStringLiteral("Information"));
    EXPECT_EQ(q.icon, MsgIcon::Information);
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_TRUE(f.log->documents.isEmpty()) << "No prints nothing";

    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::Yes};
    f.Print();
    EXPECT_EQ(f.ui.messages.size(), 1);
    ASSERT_EQ(f.log->documents.size(), 1);
    const QStringList lines = f.log->documents[0].AllLines();
    EXPECT_TRUE(f.log->documents[0].ended);
    EXPECT_EQ(lines[2], QStringLiteral("            App. de mesure: Ardel 20 IR"));
    EXPECT_EQ(lines.last(), QStringLiteral("            2; 12/07/24; 09:06; 8; 4.3; ; ; ; ; ; "));
}

TEST(DocumentPrint, NoDatasetNoPrinterAndAFailedPrintout) {
    PrintFixture f;
    f.Print();
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("Pas de groupes de données importés!"));
    EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Information);

    f.WithDataset();
    f.log->names.clear();
    f.ui.Clear();
    f.Print();
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("Pas d'imprimante disponible!"));
    EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Critical);

    f.log->names = QStringList({"Labo-Laser"});
    f.log->endFails = true;
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::Yes};
    f.Print();
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList({"Impression sur imprimante: Labo-Laser", "Erreur d'impression!"}));
    EXPECT_EQ(f.ui.messages.last().title, QStringLiteral("Erreur"));
    EXPECT_TRUE(f.log->documents.last().discarded);
}

#include "UiFixture.h"
#include "app/TextTables.h"
#include "support/PdfText.h"
#include "support/PhotometerRecords.h"
#include "support/RecordingPrinter.h"
#include "ui/app/DesktopUi.h"
#include "ui/data/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSettings>
#include <QTimer>
#include <functional>
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

namespace {

// Runs `action` on the dialog of type D once it shows (the preview paints its pages, and
// lets events through, before it does).
template <typename D> void WhenShown(std::function<void(D*)> action, int tries = 400) {
    QTimer::singleShot(10, [action = std::move(action), tries] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<D*>(window); dialog && dialog->isVisible()) {
                action(dialog);
                return;
            }
        }
        if (tries > 0) {
            WhenShown<D>(action, tries - 1);
        } else {
            ADD_FAILURE() << "the dialog never showed";
        }
    });
}

// The document with a photometer dataset whose records are wider than a portrait page.
struct PhotometerFixture : PrintFixture {
    explicit PhotometerFixture(int records = 3) : records(WidePhotometerRecords(records)) {
        MValSet& set = main->ActiveDocument()->MVals();
        set.strMVals = QStringLiteral("\r\n") + this->records.join(QStringLiteral("\r\n")) +
                       QStringLiteral("\r\n!\r\n>");
        set.strMeter = QStringLiteral("Zentravox");
        set.strSerNo = QStringLiteral("ZV-0815");
        set.strUser = QStringLiteral("René");
        set.curDate = QDateTime(QDate(2024, 7, 12), QTime(8, 4, 3));
    }

    QAction* Entry(const char* name) const {
        return main->ActiveDocument()->findChild<QAction*>(QLatin1String(name));
    }

    QStringList records;
    TempDir dir;
};

} // namespace

TEST(DocumentPrint, TheFileMenuOffersPrintDialogPreviewAndPdfExport) {
    PhotometerFixture f;
    const QList<QAction*> items = f.main->ActiveDocument()->Menus().mnuFile->actions();
    QStringList shown;
    for (const QAction* item : items) {
        if (item->isVisible()) {
            shown << item->objectName();
        }
    }
    EXPECT_EQ(shown, QStringList({"mnuFileNew", "mnuFileOpen", "mnuFileRecent", "mnuFileClose",
                                  "mnuFileBar0", "mnuFileSave", "mnuFileSaveAs", "mnuFileBar1",
                                  "mnuFilePrintTo", "mnuFilePreview", "mnuFileExportPdf",
                                  "mnuFileBarPrint", "mnuFileExit"}));
    QAction* printTo = f.Entry("mnuFilePrintTo");
    EXPECT_EQ(printTo->text(), QStringLiteral("&Imprimer…"));
    EXPECT_EQ(printTo->toolTip(), LoadResString(1261));
    EXPECT_EQ(printTo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(f.Entry("mnuFilePreview")->text(), QStringLiteral("&Aperçu avant impression"));
    EXPECT_EQ(f.Entry("mnuFilePreview")->toolTip(), LoadResString(1263));
    EXPECT_EQ(f.Entry("mnuFileExportPdf")->text(), QStringLiteral("Exporter en &PDF…"));
    EXPECT_EQ(f.Entry("mnuFileExportPdf")->toolTip(), LoadResString(1265));
    EXPECT_EQ(f.Entry("mnuFileSave")->toolTip(), QStringLiteral("Enregistrer"))
        << "entries without a tip of their own keep Qt's";

    // While an operation runs the entries are off, and one that still arrives is ignored.
    {
        const BusyState::Hold busy(f.main->services().busy);
        for (const char* name : {"mnuFilePrintTo", "mnuFilePreview", "mnuFileExportPdf"}) {
            EXPECT_FALSE(f.Entry(name)->isEnabled()) << name;
        }
        printTo->trigger();
        f.Entry("mnuFilePreview")->trigger();
    }
    EXPECT_TRUE(f.ui.printDialogs.isEmpty());
    EXPECT_TRUE(f.ui.printPreviews.isEmpty());
    EXPECT_TRUE(printTo->isEnabled());

    // Without a dataset every entry says so and opens nothing.
    f.main->ActiveDocument()->MVals().strMVals.clear();
    for (const char* name : {"mnuFilePrintTo", "mnuFilePreview", "mnuFileExportPdf"}) {
        f.ui.Clear();
        f.Entry(name)->trigger();
        EXPECT_EQ(f.ui.MessageTexts(), QStringList({"Pas de groupes de données importés!"}));
        EXPECT_TRUE(f.ui.printDialogs.isEmpty() && f.ui.printPreviews.isEmpty());
        EXPECT_TRUE(f.ui.dialogs.isEmpty());
    }
}

TEST(DocumentPrint, ThePrintDialogsChoiceGetsTheDatasetPrintout) {
    PhotometerFixture f;
    f.log->pageWidth = 80; // the records need the landscape page
    bool turned = false;
    f.ui.onPrintDialog = [&](const PrintRequest& request) {
        std::unique_ptr<LinePrinter> layout = NewRecordingPrinter(f.log, QStringLiteral("Mise"));
        EXPECT_TRUE(request.fitPage(*layout));
        turned = f.log->documents.last().landscape;
        f.log->mayTurn = false; // the page as the user left it in the dialog
        return NewRecordingPrinter(f.log, QStringLiteral("Choisie"));
    };
    QList<bool> busyWhilePrinting;
    f.ui.onYield = [&] { busyWhilePrinting << f.main->services().busy.Busy(); };
    f.Entry("mnuFilePrintTo")->trigger();

    EXPECT_EQ(f.ui.printDialogs, QStringList({"Labo-Laser"})) << "starts on the default printer";
    EXPECT_TRUE(turned) << "the dialog starts with the page the records need";
    ASSERT_EQ(f.log->documents.size(), 2);
    const PrinterLog::Document& doc = f.log->documents[1];
    EXPECT_EQ(doc.printer, QStringLiteral("Choisie"));
    EXPECT_TRUE(doc.ended);
    EXPECT_FALSE(doc.landscape) << "the printout keeps the page the user chose";
    EXPECT_EQ(doc.AllLines()[2], QStringLiteral("            App. de mesure: Zentravox"));
    EXPECT_EQ(doc.AllLines().last().left(20), QStringLiteral("            3; 12.07"));
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_FALSE(busyWhilePrinting.isEmpty());
    EXPECT_FALSE(busyWhilePrinting.contains(false)) << "busy as long as the printout runs";
    EXPECT_FALSE(f.main->services().busy.Busy());

    // Cancelled: nothing printed, nothing said.
    f.ui.Clear();
    f.ui.onPrintDialog = [](const PrintRequest&) { return std::unique_ptr<LinePrinter>(); };
    f.Entry("mnuFilePrintTo")->trigger();
    EXPECT_EQ(f.log->documents.size(), 2);
    EXPECT_TRUE(f.ui.messages.isEmpty());

    // A printer that does not take the document.
    f.log->endFails = true;
    f.ui.onPrintDialog = [&](const PrintRequest&) {
        return NewRecordingPrinter(f.log, QStringLiteral("Choisie"));
    };
    f.Entry("mnuFilePrintTo")->trigger();
    EXPECT_EQ(f.ui.MessageTexts(), QStringList({"Erreur d'impression!"}));
    EXPECT_TRUE(f.log->documents.last().discarded);
}

TEST(DocumentPrint, APhotometerPdfOnA4HoldsEveryFieldOfEveryRecordInItsColumns) {
    PhotometerFixture f(60);
    const QString chosen = f.dir.file(QStringLiteral("Zentravox"));
    f.ui.dialogAnswers = {chosen};
    f.Entry("mnuFileExportPdf")->trigger();
    ASSERT_EQ(f.ui.dialogs.size(), 1);
    const FileDialogRequest& request = f.ui.dialogs[0].request;
    EXPECT_TRUE(f.ui.dialogs[0].save);
    EXPECT_EQ(request.title, QStringLiteral("Enregistrer sous"));
    EXPECT_EQ(request.filter, QStringLiteral("Document PDF (*.pdf)|*.pdf"));
    EXPECT_EQ(request.fileName, QStringLiteral("Zentravox ZV-0815 2024-07-12"));
    EXPECT_TRUE(request.overwritePrompt);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();

    const QString pdf = chosen + QStringLiteral(".pdf");
    EXPECT_TRUE(PdfPageSize(pdf).startsWith(QStringLiteral("Page size: 842 x 595 pts (A4)")))
        << PdfPageSize(pdf).toStdString();
    const QStringList lines = PdfLines(pdf);
    EXPECT_TRUE(lines.join('|').contains(QStringLiteral("Utilisateur: René")));
    for (const QString& record : f.records) {
        EXPECT_TRUE(lines.contains(ReportRecordLine(record))) << record.toStdString();
    }
    EXPECT_TRUE(f.log->documents.isEmpty()) << "no printer involved";

    // A printout that fails leaves the file as it was.
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    f.main->ActiveDocument()->MVals().strMVals = QStringLiteral("x");
    f.ui.Clear();
    f.ui.dialogAnswers = {pdf};
    f.Entry("mnuFileExportPdf")->trigger();
    EXPECT_EQ(f.ui.MessageTexts(), QStringList({"Erreur lors de l'exportation!"}));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files), QStringList({"Zentravox.pdf"}))
        << "no temporary file left behind";
}

TEST(DocumentPrint, ThePreviewShowsThePagesOfThePdf) {
    PhotometerFixture f(80); // more than one page
    // The footers name the time of printing: the same for the PDF and the preview.
    f.main->services().print.SetClock([] { return QDateTime(QDate(2025, 1, 31), QTime(9, 0)); });
    const QString exported = f.dir.file(QStringLiteral("export.pdf"));
    f.ui.dialogAnswers = {exported};
    f.Entry("mnuFileExportPdf")->trigger();
    ASSERT_TRUE(QFile::exists(exported));

    // The window's request goes to the desktop's real preview, rendered offscreen; its
    // pages are then printed from the preview's own printer into a file to read back.
    const QString previewed = f.dir.file(QStringLiteral("preview.pdf"));
    int previewPages = -1;
    bool landscape = false;
    f.ui.onPrintPreview = [&](const PrintRequest& request) {
        WhenShown<QPrintPreviewDialog>([&](QPrintPreviewDialog* dialog) {
            auto* preview = dialog->findChild<QPrintPreviewWidget*>();
            ASSERT_NE(preview, nullptr);
            previewPages = preview->pageCount();
            landscape = dialog->printer()->pageLayout().orientation() == QPageLayout::Landscape;
            dialog->printer()->setOutputFileName(previewed);
            preview->print();
            dialog->reject();
        });
        DesktopUi desktop;
        desktop.PrintPreview(request);
    };
    f.Entry("mnuFilePreview")->trigger();
    EXPECT_EQ(f.ui.printPreviews, QStringList({"Labo-Laser"}));
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();

    const QList<QStringList> pdfPages = PdfPages(exported);
    ASSERT_GT(pdfPages.size(), 1);
    EXPECT_EQ(previewPages, pdfPages.size());
    EXPECT_TRUE(landscape) << "the preview starts on the page the records need";
    EXPECT_EQ(PdfPages(previewed), pdfPages);
    EXPECT_EQ(PdfPageSize(previewed), PdfPageSize(exported));
    EXPECT_TRUE(f.log->documents.isEmpty());
}

TEST(DocumentPrint, ThePreviewOffersTheListAndTheSignatureAndRemembersTheChoice) {
    PhotometerFixture f(80);
    int paints = 0;
    bool signatureWithList = true;
    f.ui.onPrintPreview = [&](const PrintRequest& request) {
        WhenShown<QPrintPreviewDialog>([&](QPrintPreviewDialog* dialog) {
            auto* layout = dialog->findChild<QComboBox*>(QStringLiteral("cboPrintLayout"));
            auto* signature = dialog->findChild<QCheckBox*>(QStringLiteral("chkPrintSignature"));
            ASSERT_TRUE(layout && signature);
            EXPECT_EQ(layout->currentText(), QStringLiteral("Tableau"));
            EXPECT_TRUE(signature->isChecked());
            QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, [&] { ++paints; });
            signature->setChecked(false);
            layout->setCurrentIndex(layout->findText(QStringLiteral("Liste")));
            signatureWithList = signature->isEnabled();
            dialog->reject();
        });
        DesktopUi desktop;
        desktop.PrintPreview(request);
    };
    f.Entry("mnuFilePreview")->trigger();
    EXPECT_EQ(paints, 2) << "the pages follow each change";
    EXPECT_FALSE(signatureWithList) << "the list has no signature block";
    EXPECT_EQ(f.main->services().print.Options().layout, PrintLayout::Lines);
    const PrintOptions kept = RememberedPrintOptions();
    EXPECT_EQ(kept.layout, PrintLayout::Lines);
    EXPECT_FALSE(kept.signature);
    QSettings().remove(QStringLiteral("Settings"));
}

#include "CalProtocolFixture.h"
#include "app/RecentFiles.h"
#include "app/TextTables.h"
#include "app/Windows1252.h"
#include "support/PdfText.h"
#include "ui/calibration/frmCalProtocolPH.h"
#include "ui/shell/WindowServices.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QStatusBar>

namespace {

// A 2-point pH protocol of 15 March 2024: slope -58.9 mV/pH, temperatures 25.0 and 20.0 °C.
QString PHAnswer(const char* showF, const char* showPC) {
    return QStringLiteral("586,2024,3,15,9,5,7,1,-58.9,-3.2,4,7,%1,%2,2,4.01,172.3,25.0,7.00,"
                          "-3.1,20.0")
        .arg(QLatin1String(showF), QLatin1String(showPC));
}

const QByteArray kTurbidityFile = "METER;SERNO;USER;PH\r\n"
                                  "Ardel 20 IR;A20-1;Paul;False\r\n"
                                  "YEAR;MONTH;DAY;HOUR;MIN;SEC;INTERVAL;MODE;SLOPE;ASY;QUAL;SHOWF;"
                                  "SHOWPC\r\n"
                                  "2024;11;2;16;45;0;30;3-P StdCAL;;;;False;False\r\n"
                                  "CALPTS;PH1;VOLT1;TEMP1;PH2;VOLT2;TEMP2;PH3;VOLT3;TEMP3\r\n"
                                  "3;;;;;;;;;";

class PHWindow : public CalProtocolFixture {
protected:
    std::unique_ptr<frmCalProtocolPH> Open() {
        return std::make_unique<frmCalProtocolPH>(*main, ProtocolServicesOf(main->services()));
    }

    static QStringList Values(const frmCalProtocolPH& w) {
        return Texts({w.lblMeterValue, w.lblSerNoValue, w.lblUserValue, w.lblCalDateValue,
                      w.lblCalTimeValue, w.lblCalIntervalValue, w.lblCalModeValue, w.lblSlopeValue,
                      w.lblAsyValue, w.lblSensQualValue});
    }
    static QStringList Row(const frmCalProtocolPH& w, int k) {
        return Texts({w.lblBufNo[k], w.lblBufPH[k], w.lblBufVolt[k], w.lblBufTemp[k]});
    }
    static bool ButtonsEnabled(const frmCalProtocolPH& w) {
        EXPECT_EQ(w.cmdSaveAsFile->isEnabled(), w.cmdPrint->isEnabled());
        EXPECT_EQ(w.cmdPrintOptions->isEnabled(), w.cmdPrint->isEnabled());
        return w.cmdSaveAsFile->isEnabled();
    }
};

} // namespace

TEST_F(PHWindow, TwoPointProtocolFillsTwoRowsInPercentAndFahrenheit) {
    Online(QStringLiteral("Zentravox pH"));
    link->ScriptOk(Cmd("U.586"), PHAnswer("1", "1"));
    const auto w = Open();
    EXPECT_EQ(link->sent.last(), Cmd("U.586"));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Protocole de calibration - pH[*]"));
    EXPECT_EQ(w->lblSlope->text(), QStringLiteral("Pente:"));
    EXPECT_EQ(Values(*w),
              QStringList({"Zentravox pH", "SN-4711", "Marie", "15/03/2024", "09:05:07",
                           "7 Jour(s)", "Calomat NIST/DIN", "99,6 %", "-3.2 mV", "+++"}));
    EXPECT_EQ(Row(*w, 0), QStringList({"#1", "4.01", "172.3 mV", "77,0 °F"}));
    EXPECT_EQ(Row(*w, 1), QStringList({"#2", "7.00", "-3.1 mV", "68,0 °F"}));
    EXPECT_EQ(Row(*w, 2), QStringList({"", "", "", ""}));
    EXPECT_TRUE(ButtonsEnabled(*w));
    EXPECT_EQ(w->frmDevice->title(), QString());
    EXPECT_FALSE(w->imgHead->pixmap().isNull());
}

TEST_F(PHWindow, MillivoltsAndCelsiusWithoutTheFlags) {
    Online(QStringLiteral("Zentravox pH"));
    link->ScriptOk(Cmd("U.586"), PHAnswer("0", "0"));
    const auto w = Open();
    EXPECT_EQ(w->lblSlopeValue->text(), QStringLiteral("-58.9 mV/pH"));
    EXPECT_EQ(Row(*w, 0)[3], QStringLiteral("25.0 °C"));
}

TEST_F(PHWindow, RefusedCommandShowsTheErrorAndNothingElse) {
    Online(QStringLiteral("Zentravox pH"));
    link->Script(Cmd("U.586"), {ScriptedMeterLink::RefusedAnswer()});
    const auto w = Open();
    EXPECT_EQ(ui.MessageTexts(),
              QStringList({"Erreur pendant la lecture du protocole de calibration!"}));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(Values(*w), QStringList(10));
    EXPECT_FALSE(ButtonsEnabled(*w));
}

TEST_F(PHWindow, NoPHChannelOrOfflineFetchesNothingButKeepsAnEarlierProtocol) {
    const auto offline = Open();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(ButtonsEnabled(*offline));

    Online(QStringLiteral("Ardel 20 IR"));
    ASSERT_TRUE(main->services().calProtocol.ReadFromFile(WriteFile("t.csv", kTurbidityFile)));
    const auto w = Open();
    EXPECT_FALSE(link->sent.contains(Cmd("U.586")));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(Values(*w), QStringList(10)) << "nothing is shown";
    EXPECT_TRUE(ButtonsEnabled(*w)) << "the protocol from earlier can be saved and printed";
}

TEST_F(PHWindow, SavingProposesKindAndDateAndReportsFailure) {
    Online(QStringLiteral("Zentravox pH"));
    link->ScriptOk(Cmd("U.586"), PHAnswer("0", "0"));
    const auto w = Open();
    const QString path = File("saved.csv");
    ui.dialogAnswers = {path};
    w->cmdSaveAsFile->click();
    ASSERT_EQ(ui.dialogs.size(), 1);
    const FileDialogRequest& r = ui.dialogs[0].request;
    EXPECT_TRUE(ui.dialogs[0].save);
    EXPECT_EQ(r.fileName, QStringLiteral("CalProt pH 20240315"));
    EXPECT_EQ(r.kind, FileKind::Protocol);
    EXPECT_EQ(r.title, QStringLiteral("Enregistrer sous"));
    EXPECT_EQ(r.filter,
              QStringLiteral("Fichier CSV (séparé par des points-virgules) (*.csv)|*.csv"));
    EXPECT_EQ(r.defaultExtension, QStringLiteral("csv"));
    EXPECT_TRUE(r.overwritePrompt && r.pathMustExist && r.hideReadOnly);
    EXPECT_TRUE(Windows1252::Decode(ReadBytes(path))
                    .startsWith(QStringLiteral(
                        "METER;SERNO;USER;PH\r\nZentravox pH;SN-4711;Marie;True\r\n")));
    EXPECT_TRUE(ui.messages.isEmpty());

    ui.Clear();
    ui.dialogAnswers = {std::nullopt};
    w->cmdSaveAsFile->click();
    EXPECT_TRUE(ui.messages.isEmpty()) << "a cancelled dialog ends silently";

    ui.dialogAnswers = {File("no/such/folder/p.csv")};
    w->cmdSaveAsFile->click();
    EXPECT_EQ(ui.MessageTexts().last(), QStringLiteral("Enregistrement du protocole a échoué!"));
}

// A file that is not a pH protocol changes nothing: the shown protocol can still be saved
// and printed, and the message names the file and what is wrong with it.
TEST_F(PHWindow, AFailedReadLeavesTheShownProtocolUsable) {
    Online(QStringLiteral("Zentravox pH"));
    link->ScriptOk(Cmd("U.586"), PHAnswer("0", "1"));
    const auto w = Open();
    const QStringList shown = Values(*w);
    const QString bad = WriteFile("bad.csv", "not a protocol");
    const QString turbidity = WriteFile("turb.csv", kTurbidityFile);
    const QString missing = File("gone.csv");
    ui.dialogAnswers = {bad, turbidity, missing};
    for (int i = 0; i < 3; ++i) {
        w->cmdReadFile->click();
    }
    ASSERT_EQ(ui.dialogs.size(), 3);
    EXPECT_EQ(ui.dialogs[0].request.title, QStringLiteral("Ouvrir le fichier"));
    EXPECT_TRUE(ui.dialogs[0].request.fileMustExist);
    const QString failed = QStringLiteral("Erreur de lecture du fichier!\n\n");
    EXPECT_EQ(
        ui.MessageTexts(),
        QStringList({failed + bad + "\nLe fichier ne contient pas de protocole de calibration.",
                     failed + turbidity + "\nLe fichier contient un protocole de turbidité.",
                     failed + missing + "\nLe fichier n'existe pas."}));
    EXPECT_EQ(Values(*w), shown);
    EXPECT_TRUE(ButtonsEnabled(*w));

    ui.Clear();
    const QString saved = File("ph.csv");
    ui.dialogAnswers = {saved};
    w->cmdSaveAsFile->click();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    EXPECT_EQ(ui.dialogs[0].request.fileName, QStringLiteral("CalProt pH 20240315"));
    ui.messageAnswers = {MsgResult::Yes};
    w->cmdPrint->click();
    ASSERT_EQ(log->documents.size(), 1);
    EXPECT_TRUE(log->documents[0]
                    .AllLines()
                    .join(QLatin1Char('\n'))
                    .contains(QStringLiteral("Zentravox pH")));

    ui.Clear();
    ui.dialogAnswers = {saved};
    w->cmdReadFile->click();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(Values(*w), shown);
    EXPECT_EQ(Row(*w, 1), QStringList({"#2", "7.00", "-3.1 mV", "20.0 °C"}));
}

TEST_F(PHWindow, PrintingAsksNamingThePrinter) {
    Online(QStringLiteral("Zentravox pH"));
    link->ScriptOk(Cmd("U.586"), PHAnswer("1", "1"));
    const auto w = Open();
    ui.messageAnswers = {MsgResult::Yes};
    w->cmdPrint->click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({"Impression sur imprimante: Labo-Laser"}));
    ASSERT_EQ(log->documents.size(), 1);
    EXPECT_TRUE(log->documents[0].AllLines().contains(
        QStringLiteral("            #1\t4.01\t172.3 mV\t77,0 °F")));

    ui.Clear();
    log->names.clear();
    w->cmdPrint->click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({"Pas d'imprimante disponible!"}));
}

TEST_F(PHWindow, PrintOptionsGoToTheChosenPrinterAndIntoAPdf) {
    Online(QStringLiteral("Zentravox pH"));
    link->ScriptOk(Cmd("U.586"), PHAnswer("1", "1"));
    const auto w = Open();
    EXPECT_EQ(w->cmdPrintOptions->text(), QStringLiteral("Autres impressions"));
    EXPECT_EQ(w->cmdPrintOptions->toolTip(), LoadResString(1268));
    QMenu* menu = w->cmdPrintOptions->menu();
    ASSERT_NE(menu, nullptr);
    QStringList entries;
    for (const QAction* entry : menu->actions()) {
        entries << entry->objectName() + QLatin1Char('=') + entry->text();
    }
    EXPECT_EQ(entries, QStringList({"mnuPrintTo=&Imprimer…", "mnuPreview=&Aperçu avant impression",
                                    "mnuExportPdf=Exporter en &PDF…"}));
    EXPECT_EQ(menu->actions()[1]->toolTip(), LoadResString(1263));

    ui.onPrintDialog = [this](const PrintRequest& request) {
        EXPECT_FALSE(request.fitPage) << "a protocol keeps the portrait page";
        return NewRecordingPrinter(log, QStringLiteral("Choisie"));
    };
    menu->actions()[0]->trigger();
    EXPECT_EQ(ui.printDialogs, QStringList({"Labo-Laser"}));
    ASSERT_EQ(log->documents.size(), 1);
    EXPECT_EQ(log->documents[0].printer, QStringLiteral("Choisie"));
    EXPECT_TRUE(log->documents[0].ended);
    EXPECT_TRUE(log->documents[0].AllLines().contains(
        QStringLiteral("            #1\t4.01\t172.3 mV\t77,0 °F")));

    ui.dialogAnswers = {File("protocol.pdf")};
    menu->actions()[2]->trigger();
    ASSERT_EQ(ui.dialogs.size(), 1);
    EXPECT_EQ(ui.dialogs[0].request.fileName, QStringLiteral("CalProt pH 20240315"));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    const QStringList lines = PdfLines(File("protocol.pdf"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Protocole de calibration - pH")));
    EXPECT_TRUE(lines.contains(QStringLiteral("1 4.01 172.3 mV 77,0 °F")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Pente: 99,6 %")));

    // The preview gets the same printout.
    ui.onPrintPreview = [this](const PrintRequest& request) {
        const std::unique_ptr<LinePrinter> page = NewRecordingPrinter(log, QStringLiteral("Vue"));
        EXPECT_TRUE(request.print(*page));
    };
    menu->actions()[1]->trigger();
    ASSERT_EQ(log->documents.size(), 2);
    EXPECT_EQ(log->documents[1].AllLines().mid(5), log->documents[0].AllLines().mid(5))
        << "the same lines after the date and time of printing";
}

TEST_F(PHWindow, TheMenuItemOpensTheWindowModally) {
    QString shown;
    bool modal = false;
    WhenModal([&](QWidget* window) {
        ASSERT_NE(window, nullptr);
        shown = window->objectName();
        modal = window->isModal();
        window->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    });
    ShownItem("mnuCalProtPH")->trigger();
    EXPECT_EQ(shown, QStringLiteral("frmCalProtocolPH"));
    EXPECT_TRUE(modal);
}

TEST_F(PHWindow, TheTitleNamesTheFileAndAProtocolFileOpensItsWindowWithoutFetching) {
    Online(QStringLiteral("Zentravox pH"));
    link->ScriptOk(Cmd("U.586"), PHAnswer("0", "0"));
    const auto w = Open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Protocole de calibration - pH[*]"));
    const QString path = File("Mesure pH.csv");
    ui.dialogAnswers = {path};
    w->cmdSaveAsFile->click();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Mesure pH.csv[*] - Protocole de calibration - pH"));
    EXPECT_FALSE(w->isWindowModified());
    EXPECT_EQ(main->statusBar()->currentMessage(), LoadResString(1762).arg(path));
    EXPECT_EQ(RecentFiles::List().value(0), path);
    const QStringList shown = Values(*w);

    link->sent.clear();
    QString title;
    QStringList values;
    WhenModal([&](QWidget* window) {
        auto* ph = qobject_cast<frmCalProtocolPH*>(window);
        ASSERT_NE(ph, nullptr);
        title = ph->windowTitle();
        values = Values(*ph);
        ph->cmdCancel->click();
    });
    main->OpenFiles({path});
    EXPECT_EQ(title, QStringLiteral("Mesure pH.csv[*] - Protocole de calibration - pH"));
    EXPECT_EQ(values, shown);
    EXPECT_TRUE(link->sent.isEmpty()) << "the file is shown, not the meter's protocol";
    EXPECT_EQ(main->NumDocs(), 1) << "the document stays";
}

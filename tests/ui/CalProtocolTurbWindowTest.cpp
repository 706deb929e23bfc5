#include "CalProtocolFixture.h"
#include "app/Windows1252.h"
#include "support/PdfText.h"
#include "ui/calibration/frmCalProtEdit.h"
#include "ui/calibration/frmCalProtocolTurb.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

const QByteArray kPHFile =
    "METER;SERNO;USER;PH\r\n"
    "Zentravox pH;Z-1;Paul;True\r\n"
    "YEAR;MONTH;DAY;HOUR;MIN;SEC;INTERVAL;MODE;SLOPE;ASY;QUAL;SHOWF;SHOWPC\r\n"
    "2024;3;15;9;5;7;7;Calomat TBX;-58.0;-3.2;++;False;False\r\n"
    "CALPTS;PH1;VOLT1;TEMP1;PH2;VOLT2;TEMP2;PH3;VOLT3;TEMP3\r\n"
    "1;4.01;172.3;25.0;;;;;;";

class TurbWindow : public CalProtocolFixture {
protected:
    std::unique_ptr<frmCalProtocolTurb> Open() {
        return std::make_unique<frmCalProtocolTurb>(
            *main, [this]() -> frmCalProtEdit& { return main->CalProtEdit(); });
    }

    static QStringList Standards(const frmCalProtocolTurb& w) {
        QStringList rows;
        for (int i = 0; i < frmCalProtocolTurb::kStandards; ++i) {
            rows << Texts({w.standardLabels[i], w.commentLabels[i], w.statusLabels[i]})
                        .join(QLatin1Char('|'));
        }
        return rows;
    }
    static QStringList Lot(const frmCalProtocolTurb& w) {
        return Texts({w.lblLOTTotalValue, w.lblExpiryValue, w.lblManufacturerValue});
    }

    // Opens the window on an Ardel 20 with its standard protocol.
    std::unique_ptr<frmCalProtocolTurb> OpenStandard() {
        Online(QStringLiteral("Ardel 20 IR"));
        link->ScriptOk(Cmd("U.585"), QStringLiteral("585,2024,3,15,9,5,7,30"));
        return Open();
    }

    // Answers the lot editor when it shows: fills it with `texts` and accepts, or cancels.
    void EditLot(frmCalProtocolTurb& w, const QStringList& texts, bool accept) {
        WhenModal([texts, accept](QWidget* window) {
            auto* editor = qobject_cast<frmCalProtEdit*>(window);
            ASSERT_NE(editor, nullptr);
            QList<QLineEdit*> boxes{editor->txtLOTTotal, editor->txtExpiry,
                                    editor->txtManufacturer};
            boxes += QList<QLineEdit*>(editor->txtStd.begin(), editor->txtStd.end());
            for (qsizetype i = 0; i < texts.size(); ++i) {
                boxes[i]->setText(texts[i]);
            }
            (accept ? editor->cmdAccept : editor->cmdCancel)->click();
        });
        w.cmdEditLOT->click();
    }
};

} // namespace

TEST_F(TurbWindow, StandardProtocolShowsThreeStandardsWithOK) {
    const auto w = OpenStandard();
    EXPECT_EQ(link->sent.last(), Cmd("U.585"));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Protocole de calibration - Turbidité"));
    EXPECT_EQ(w->lblCalModeValue->text(), QStringLiteral("3-P StdCAL"));
    EXPECT_EQ(w->lblCalIntervalValue->text(), QStringLiteral("30 Jour(s)"));
    EXPECT_EQ(Standards(*w), QStringList({"0.02 FNU/NTU||OK", "10.0 FNU/NTU||OK",
                                          "1000 FNU/NTU||OK", "||", "||"}));
    EXPECT_EQ(w->lblStdStatus->text(), QStringLiteral("Etat"));
    EXPECT_TRUE(w->cmdEditLOT->isEnabled() && w->cmdSaveAsFile->isEnabled() &&
                w->cmdPrint->isEnabled());
}

TEST_F(TurbWindow, Ardel60GetsTheExtendedProtocolWithFiveStandards) {
    Online(QStringLiteral("Ardel 60 IR"));
    link->ScriptOk(Cmd("U.587"),
                   QStringLiteral("587,2024,3,15,9,5,7,30,5-P,5,0.02,10.0,100,500,1000"));
    const auto w = Open();
    EXPECT_EQ(link->sent.last(), Cmd("U.587"));
    EXPECT_EQ(Standards(*w), QStringList({"0.02 FNU/NTU||OK", "10.0 FNU/NTU||OK", "100 FNU/NTU||OK",
                                          "500 FNU/NTU||OK", "1000 FNU/NTU||OK"}));

    const QString path = File("p.csv");
    ui.dialogAnswers = {path};
    w->cmdSaveAsFile->click();
    EXPECT_EQ(ui.dialogs[0].request.fileName, QStringLiteral("CalProt Turb 5-P 20240315"));
}

TEST_F(TurbWindow, EditedLotIsShownAtOnceAndSavedWithTheProtocol) {
    const auto w = OpenStandard();
    EditLot(*w, {"L-77", "03/2026", "Formazine SA", "a", "b", "c", "d", "e"}, true);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(Lot(*w), QStringList({"L-77", "03/2026", "Formazine SA"}));
    EXPECT_EQ(Standards(*w)[0], QStringLiteral("0.02 FNU/NTU|a|OK"));
    EXPECT_EQ(Standards(*w)[4], QStringLiteral("|e|")) << "the lot of an unused standard is kept";
    // The editor showed the nominal values, a blank and "FNU/NTU" for the unused ones.
    frmCalProtEdit& editor = main->CalProtEdit();
    EXPECT_EQ(editor.lblStd[1]->text(), QStringLiteral("10.0 FNU/NTU"));
    EXPECT_EQ(editor.lblStd[3]->text(), QStringLiteral(" FNU/NTU"));
    EXPECT_EQ(editor.NumCalPoints(), 3);

    const QString path = File("with-lot.csv");
    ui.dialogAnswers = {path};
    w->cmdSaveAsFile->click();
    EXPECT_EQ(ui.dialogs[0].request.fileName, QStringLiteral("CalProt Turb 3-P StdCAL 20240315"));
    const QStringList lines = Windows1252::Decode(ReadBytes(path)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[7], QStringLiteral("L-77;03/2026;Formazine SA;a;b;c;d;e"));

    // The editor is the same one next time, filled from the labels.
    EditLot(*w, {}, false);
    EXPECT_EQ(&main->CalProtEdit(), &editor);
    EXPECT_EQ(editor.ChargeIDStdHigh(), QStringLiteral("c"));
}

TEST_F(TurbWindow, CancelledOrClosedEditorChangesNothing) {
    const auto w = OpenStandard();
    EditLot(*w, {"L-1", "x", "y", "z"}, true);
    EditLot(*w, {"CHANGED", "CHANGED"}, false);
    EXPECT_EQ(Lot(*w), QStringList({"L-1", "x", "y"}));
    QString lot, expiry, maker;
    QStringList lots;
    ASSERT_TRUE(main->services().calProtocol.GetChargeID(lot, expiry, maker, lots));
    EXPECT_EQ(lot, QStringLiteral("L-1"));

    // Closing by the frame unloads the editor: nothing is taken, the next one is new.
    WhenModal([](QWidget* window) {
        qobject_cast<frmCalProtEdit*>(window)->txtLOTTotal->setText(QStringLiteral("CLOSED"));
        window->close();
    });
    w->cmdEditLOT->click();
    EXPECT_EQ(Lot(*w)[0], QStringLiteral("L-1"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->CalProtEdit().ChargeIDTotal(), QString()) << "a new editor";
}

TEST_F(TurbWindow, ReadingAPHFileReportsItButEnablesTheButtons) {
    const auto w = Open();
    EXPECT_FALSE(w->cmdEditLOT->isEnabled());
    ui.dialogAnswers = {WriteFile("ph.csv", kPHFile)};
    w->cmdReadFile->click();
    EXPECT_EQ(ui.MessageTexts(),
              QStringList({"Erreur pendant la lecture du protocole de calibration!"}));
    EXPECT_TRUE(w->cmdEditLOT->isEnabled() && w->cmdSaveAsFile->isEnabled() &&
                w->cmdPrint->isEnabled());
    EXPECT_EQ(Standards(*w), QStringList(5, QStringLiteral("||")));

    ui.Clear();
    ui.dialogAnswers = {File("again.csv")};
    w->cmdSaveAsFile->click();
    EXPECT_EQ(ui.dialogs[0].request.fileName, QStringLiteral("CalProt pH 20240315"));

    // Editing the lot of a pH protocol is refused.
    ui.Clear();
    w->cmdEditLOT->click();
    EXPECT_EQ(ui.MessageTexts(),
              QStringList({"Erreur pendant la lecture du protocole de calibration!"}));
}

TEST_F(TurbWindow, PrintingCarriesTheLotAndTheMenuOpensTheWindowModally) {
    const auto w = OpenStandard();
    EditLot(*w, {"L-9", "", "", "s1", "s2", "s3"}, true);
    ui.messageAnswers = {MsgResult::Yes};
    w->cmdPrint->click();
    ASSERT_EQ(log->documents.size(), 1);
    EXPECT_TRUE(
        log->documents[0].AllLines().contains(QStringLiteral("            10.0 FNU/NTU: s2 OK")));

    // The PDF export carries it too; its button comes after Print in the tab order.
    EXPECT_EQ(w->cmdPrint->nextInFocusChain(), w->cmdPrintOptions);
    EXPECT_EQ(w->cmdPrintOptions->nextInFocusChain(), w->cmdCancel);
    ASSERT_TRUE(w->cmdPrintOptions->isEnabled());
    ui.dialogAnswers = {File("turbidity.pdf")};
    w->cmdPrintOptions->menu()->actions()[2]->trigger();
    EXPECT_EQ(ui.dialogs.last().request.fileName,
              QStringLiteral("CalProt Turb 3-P StdCAL 20240315"));
    EXPECT_TRUE(PdfLines(File("turbidity.pdf")).contains(QStringLiteral("10.0 FNU/NTU: s2 OK")));

    QString shown;
    WhenModal([&](QWidget* window) {
        shown = window->objectName();
        window->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    });
    ShownItem("mnuCalProtTurb")->trigger();
    EXPECT_EQ(shown, QStringLiteral("frmCalProtocolTurb"));
}

#include "CalProtocolFixture.h"
#include "app/TextTables.h"
#include "app/Windows1252.h"
#include "support/PdfText.h"
#include "ui/calibration/frmCalProtEdit.h"
#include "ui/calibration/frmCalProtocolTurb.h"
#include "ui/shell/WindowServices.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

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
            *main, ProtocolServicesOf(main->services()),
            [this]() -> frmCalProtEdit& { return main->CalProtEdit(); });
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
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Protocole de calibration - Turbidité[*]"))
        << w->windowTitle().toStdString();
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

TEST_F(TurbWindow, APHFileIsRefusedAndTheShownProtocolStays) {
    const auto w = OpenStandard();
    const QStringList standards = Standards(*w);
    const QString ph = WriteFile("ph.csv", kPHFile);
    ui.dialogAnswers = {ph};
    w->cmdReadFile->click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({"Erreur de lecture du fichier!\n\n" + ph +
                                              "\nLe fichier contient un protocole pH."}));
    EXPECT_EQ(Standards(*w), standards);
    EXPECT_TRUE(w->cmdEditLOT->isEnabled() && w->cmdSaveAsFile->isEnabled() &&
                w->cmdPrint->isEnabled());

    ui.Clear();
    ui.dialogAnswers = {File("again.csv")};
    w->cmdSaveAsFile->click();
    EXPECT_EQ(ui.dialogs[0].request.fileName, QStringLiteral("CalProt Turb 3-P StdCAL 20240315"));
    EXPECT_TRUE(ui.messages.isEmpty());
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
    EXPECT_TRUE(
        PdfLines(File("turbidity.pdf")).contains(QStringLiteral("2 10.0 FNU/NTU L-9 s2 OK")));

    QString shown;
    ui.messageAnswers = {MsgResult::No}; // the lot typed above is left unsaved
    WhenModal([&](QWidget* window) {
        shown = window->objectName();
        window->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    });
    ShownItem("mnuCalProtTurb")->trigger();
    EXPECT_EQ(shown, QStringLiteral("frmCalProtocolTurb"));
}

// Lot data typed in and not saved are asked about when the window closes (Escape,
// "Annuler", the close box), and its title marks them meanwhile.
TEST_F(TurbWindow, ClosingWithAnEditedUnsavedLotAsksFirst) {
    const auto w = OpenStandard();
    w->show();
    EXPECT_FALSE(w->isWindowModified());
    EditLot(*w, {"L-7"}, true);
    EXPECT_TRUE(w->isWindowModified());
    const QString question = LoadResString(1178) + QStringLiteral("\r\n") + LoadResString(1179);

    // "Annuler": the window stays with the lot.
    ui.messageAnswers = {MsgResult::Cancel};
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_EQ(ui.MessageTexts(), QStringList{question});
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Lot(*w)[0], QStringLiteral("L-7"));

    // "Non": it closes and the lot is dropped, so nothing is asked again later.
    ui.Clear();
    ui.messageAnswers = {MsgResult::No};
    w->cmdCancel->click();
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_FALSE(w->isVisible());
    CCalProtocol& protocol = main->services().calProtocol;
    EXPECT_FALSE(protocol.IsLotModified());
    QString lot, expiry, maker;
    QStringList lots;
    ASSERT_TRUE(protocol.GetChargeID(lot, expiry, maker, lots));
    EXPECT_EQ(lot, QString());

    // Saved data close without a question.
    w->show();
    EditLot(*w, {"L-8"}, true);
    ui.Clear();
    ui.dialogAnswers = {File("lot.csv")};
    w->cmdSaveAsFile->click();
    EXPECT_FALSE(w->isWindowModified());
    w->close();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(w->isVisible());
}

TEST_F(TurbWindow, ConfirmingTheEditorUntouchedKeepsEveryLotOfTheFile) {
    const auto w = OpenStandard();
    // A file of three points holding lots longer than the 15 characters one may type and
    // lots of the 4th and 5th standard, which the window does not show.
    CCalProtocol& protocol = main->services().calProtocol;
    protocol.SetChargeID(QStringLiteral("Set 2024-11-A/0042"), QStringLiteral("11/2026"),
                         QStringLiteral("Formazine Labs Europe"),
                         {QStringLiteral("low sub-lot 000017"), QStringLiteral("m"),
                          QStringLiteral("h"), QStringLiteral("fourth"), QStringLiteral("fifth")});
    const QString original = File("original.csv");
    ASSERT_TRUE(protocol.SaveToFile(original));
    ui.dialogAnswers = {original};
    w->cmdReadFile->click();
    ASSERT_EQ(Lot(*w), QStringList({"Set 2024-11-A/0042", "11/2026", "Formazine Labs Europe"}));
    EXPECT_EQ(Standards(*w)[3], QStringLiteral("||"));

    EditLot(*w, {}, true);
    EXPECT_EQ(Lot(*w), QStringList({"Set 2024-11-A/0042", "11/2026", "Formazine Labs Europe"}));
    const QString again = File("again.csv");
    ASSERT_TRUE(protocol.SaveToFile(again));
    EXPECT_EQ(ReadBytes(again), ReadBytes(original));
    // Nothing was changed, so nothing is asked before the next file replaces it.
    ui.dialogAnswers = {original};
    w->cmdReadFile->click();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
}

TEST_F(TurbWindow, EditedUnsavedLotAsksBeforeAFileOrTheMetersProtocolReplacesIt) {
    auto w = OpenStandard();
    const QString withoutLot = File("without-lot.csv");
    ASSERT_TRUE(main->services().calProtocol.SaveToFile(withoutLot));
    EditLot(*w, {"L-1", "x", "y"}, true);
    const QString question = LoadResString(1178) + QStringLiteral("\r\n") + LoadResString(1179);

    // "Annuler" (also Escape and the close box): no file is chosen, the lot stays.
    ui.messageAnswers = {MsgResult::Cancel};
    w->cmdReadFile->click();
    ASSERT_EQ(ui.MessageTexts(), QStringList{question});
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(ui.dialogs.isEmpty());
    EXPECT_EQ(Lot(*w)[0], QStringLiteral("L-1"));

    // "Oui" with the save dialog cancelled asks nothing more and keeps the lot.
    ui.Clear();
    ui.messageAnswers = {MsgResult::Yes};
    ui.dialogAnswers = {std::nullopt};
    w->cmdReadFile->click();
    EXPECT_EQ(ui.messages.size(), 1);
    ASSERT_EQ(ui.dialogs.size(), 1);
    EXPECT_TRUE(ui.dialogs[0].save);
    EXPECT_EQ(Lot(*w)[0], QStringLiteral("L-1"));

    // "Oui" saves the lot, then the chosen file is read; a saved lot asks nothing.
    ui.Clear();
    const QString saved = File("saved.csv");
    ui.messageAnswers = {MsgResult::Yes};
    ui.dialogAnswers = {saved, withoutLot};
    w->cmdReadFile->click();
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(Windows1252::Decode(ReadBytes(saved)).contains("\r\nL-1;x;y;;;;;\r\n"));
    EXPECT_EQ(Lot(*w)[0], QString());
    ui.Clear();
    ui.dialogAnswers = {saved};
    w->cmdReadFile->click();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    EXPECT_EQ(Lot(*w)[0], QStringLiteral("L-1"));

    // Opening the window again fetches the meter's protocol: asked first. "Annuler" shows
    // the edited protocol without a fetch; "Oui" proposes its usual file name; "Non" fetches.
    EditLot(*w, {"L-2"}, true);
    w.reset();
    link->sent.clear();
    ui.Clear();
    ui.messageAnswers = {MsgResult::Cancel};
    w = Open();
    EXPECT_EQ(ui.MessageTexts(), QStringList{question});
    EXPECT_TRUE(link->sent.isEmpty());
    EXPECT_EQ(Lot(*w), QStringList({"L-2", "x", "y"}));
    EXPECT_EQ(Standards(*w)[0], QStringLiteral("0.02 FNU/NTU||OK"));
    EXPECT_TRUE(w->cmdEditLOT->isEnabled());
    w.reset();

    ui.Clear();
    ui.messageAnswers = {MsgResult::Yes};
    ui.dialogAnswers = {std::nullopt};
    w = Open();
    ASSERT_EQ(ui.dialogs.size(), 1);
    EXPECT_EQ(ui.dialogs[0].request.fileName, QStringLiteral("CalProt Turb 3-P StdCAL 20240315"));
    EXPECT_TRUE(link->sent.isEmpty());
    w.reset();

    ui.Clear();
    ui.messageAnswers = {MsgResult::No};
    w = Open();
    EXPECT_EQ(ui.MessageTexts(), QStringList{question});
    ASSERT_FALSE(link->sent.isEmpty());
    EXPECT_EQ(link->sent.last(), Cmd("U.585"));
    EXPECT_EQ(Lot(*w)[0], QString());
    ui.Clear();
    ui.dialogAnswers = {saved};
    w->cmdReadFile->click();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
}

TEST_F(TurbWindow, QuittingWithAnEditedUnsavedLotAsksFirst) {
    auto w = OpenStandard();
    EditLot(*w, {"L-3"}, true);
    w.reset();
    const QString question = LoadResString(1178) + QStringLiteral("\r\n") + LoadResString(1179);
    ui.Clear();
    ui.messageAnswers = {MsgResult::Cancel};
    EXPECT_FALSE(main->close());
    EXPECT_EQ(ui.MessageTexts(), QStringList{question});
    EXPECT_FALSE(main->IsUnloaded());

    // "Oui" saves the protocol under the name its window proposes, then the program ends.
    ui.Clear();
    const QString saved = File("at-quit.csv");
    ui.messageAnswers = {MsgResult::Yes};
    ui.dialogAnswers = {saved};
    EXPECT_TRUE(main->close());
    ASSERT_EQ(ui.dialogs.size(), 1);
    EXPECT_EQ(ui.dialogs[0].request.fileName, QStringLiteral("CalProt Turb 3-P StdCAL 20240315"));
    EXPECT_TRUE(main->IsUnloaded());
    EXPECT_TRUE(Windows1252::Decode(ReadBytes(saved)).contains("\r\nL-3;;;;;;;\r\n"));
}

#include "UiFixture.h"
#include "ui/app/frmWait.h"
#include "ui/data/frmDocument.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

void ScriptMeter(ScriptedMeterLink& link, const char* model, const char* firmware) {
    for (const auto& [command, value] : {std::pair{"U.400", "ok"},
                                         {"U.597", firmware},
                                         {"U.595", model},
                                         {"U.596", "SN-77"},
                                         {"U.592", "000000"}}) {
        link.ScriptOk(QLatin1String(command) + QStringLiteral("\r\n"), QLatin1String(value));
    }
}

const QString kNotFound = QStringLiteral("Pas de Zentravox, Zentravox Turb ou Ardel 20 reconnu!");

void ExpectOffline(MainWindowFixture& f) {
    EXPECT_FALSE(f.main->services().device.Online());
    EXPECT_EQ(f.main->StatusBarText(1), QStringLiteral("hors ligne"));
    EXPECT_EQ(f.main->StatusBarText(2), QString());
    EXPECT_EQ(f.main->StatusBarText(3), QString());
    EXPECT_EQ(f.main->StatusBarText(4), QString());
    EXPECT_FALSE(f.ShownItem("mnuImport")->isEnabled());
    EXPECT_FALSE(f.main->ToolButton(QStringLiteral("Import"))->isEnabled());
}

} // namespace

TEST(DeviceSearch, AConfirmedMeterAtStartUpIsOnline) {
    MainWindowFixture f;
    ScriptMeter(*f.link, "Zentravox", "2.05");
    f.link->port = 3;
    f.link->baud = QStringLiteral("9600");
    bool busy = false;
    QString waitText;
    f.link->onScan = [&] {
        busy = f.main->cursor().shape() == Qt::WaitCursor &&
               f.main->ActiveDocument()->cursor().shape() == Qt::WaitCursor;
        for (frmWait* wait : f.main->findChildren<frmWait*>()) {
            if (wait->isVisible()) {
                waitText = wait->lblText->text();
            }
        }
    };
    f.ui.messageAnswers = {MsgResult::Ok};
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna"), true));

    EXPECT_TRUE(busy);
    EXPECT_EQ(waitText, QStringLiteral("Recherche appareil de mesure..."));
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("Zentravox reconnu!"));
    EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Information"));
    EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(f.ui.messages[0].buttons, MsgButtons::OkCancel);
    const QStringList panels{"COM 3", "9600 Baud", "Zentravox", "SN-77", "anna"};
    for (int panel = 1; panel <= 5; ++panel) {
        EXPECT_EQ(f.main->StatusBarText(panel), panels[panel - 1]) << panel;
    }
    EXPECT_TRUE(f.main->services().device.Online());
    EXPECT_TRUE(f.ShownItem("mnuImport")->isEnabled());
    EXPECT_TRUE(f.main->ToolButton(QStringLiteral("Import"))->isEnabled());
    EXPECT_EQ(f.main->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(f.main->findChildren<frmWait*>().isEmpty());
    // The wait dialog's unload stopped the link after the conversation.
    EXPECT_EQ(f.link->calls.back(), QStringLiteral("COMStop"));
}

TEST(DeviceSearch, DecliningTheRecognisedMeterStaysOffline) {
    MainWindowFixture f;
    ScriptMeter(*f.link, "Zentravox", "2.05");
    f.ui.messageAnswers = {MsgResult::Cancel};
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna"), true));
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{QStringLiteral("Zentravox reconnu!")});
    ExpectOffline(f);
}

TEST(DeviceSearch, OldFirmwareAndNoMeterAreReported) {
    {
        MainWindowFixture f;
        ScriptMeter(*f.link, "Zentravox", "1.79");
        ASSERT_TRUE(f.LogIn(QStringLiteral("anna"), true));
        ASSERT_EQ(f.ui.messages.size(), 1);
        EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("Version de logiciel de l'appareil trop "
                                                        "basse!\r\nActualiser le firmware, svp!"));
        EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Erreur"));
        EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Critical);
        ExpectOffline(f);
    }
    {
        MainWindowFixture f;
        f.link->meterPresent = false;
        ASSERT_TRUE(f.LogIn(QStringLiteral("anna"), true));
        EXPECT_EQ(f.ui.MessageTexts(), QStringList{kNotFound});
        ExpectOffline(f);
    }
}

TEST(DeviceSearch, OnlyArdel60ModeReportsItsOwnMessage) {
    ProgramFolder folder("[General]\r\nOnlyArdel60=True\r\n");
    MainWindowFixture f;
    ScriptMeter(*f.link, "Zentravox", "2.05");
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna"), true));
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{QStringLiteral("Pas de Ardel 60 reconnu!")});
    ExpectOffline(f);
}

TEST(DeviceSearch, MenuSearchAlwaysReplacesTheDocumentAndClearsTheMeter) {
    MainWindowFixture f;
    ScriptMeter(*f.link, "Zentravox", "2.05");
    f.ui.messageAnswers = {MsgResult::Ok};
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna"), true));
    ASSERT_TRUE(f.main->services().device.Online());
    frmDocument* before = f.main->ActiveDocument();
    QString deviceDuringSearch = QStringLiteral("unset");
    f.link->meterPresent = false;
    f.link->onScan = [&] { deviceDuringSearch = f.main->StatusBarText(3); };
    f.ui.Clear();
    f.ShownItem("mnuDeviceSearch")->trigger(); // the document's entry forwards
    EXPECT_EQ(deviceDuringSearch, QString());
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{kNotFound});
    EXPECT_EQ(f.main->NumDocs(), 1);
    EXPECT_NE(f.main->ActiveDocument(), before);
    ExpectOffline(f);
    EXPECT_EQ(f.main->StatusBarText(5), QStringLiteral("anna"));
}

TEST(DeviceSearch, MenuSearchFindsAndConfirmsAgain) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna")));
    ScriptMeter(*f.link, "Ardel 60 IR", "2.50");
    f.ui.messageAnswers = {MsgResult::Ok};
    f.main->MenuDeviceSearch();
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{QStringLiteral("Ardel 60 IR reconnu!")});
    EXPECT_EQ(f.main->StatusBarText(3), QStringLiteral("Ardel 60 IR"));
    EXPECT_TRUE(f.ShownItem("mnuImport")->isEnabled());
    EXPECT_FALSE(f.ShownItem("mnuCalProtPH")->isEnabled());
    EXPECT_TRUE(f.ShownItem("mnuCalProtTurb")->isEnabled());
    // The new document takes its dataset header from the recognised meter.
    EXPECT_EQ(f.main->ActiveDocument()->MVals().strMeter, QStringLiteral("Ardel 60 IR"));
}

#include "app/BusyState.h"

#include "UiFixture.h"
#include "app/TextTables.h"
#include "data/RecoveryStore.h"
#include "meter/MeterCommands.h"
#include "support/TempDir.h"
#include "ui/app/BusyContent.h"
#include "ui/data/frmDocument.h"
#include "ui/shell/QuitRequests.h"

#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <csignal>
#include <gtest/gtest.h>

namespace {

void ScriptMeter(ScriptedMeterLink& link) {
    for (const auto& [command, value] : {std::pair{"U.400", "ok"},
                                         {"U.597", "2.05"},
                                         {"U.595", "Zentravox"},
                                         {"U.596", "SN-77"},
                                         {"U.592", "000000"}}) {
        link.ScriptOk(QLatin1String(command) + QStringLiteral("\r\n"), QLatin1String(value));
    }
}

// What the main window lets the user start, as the menus and the tool bar show it now.
struct Commands {
    bool import, search, newDoc, open, programs, protocols, about, toolBar, exit;
};

Commands Shown(MainWindowFixture& f) {
    return {f.ShownItem("mnuImport")->isEnabled(),    f.ShownItem("mnuDeviceSearch")->isEnabled(),
            f.ShownItem("mnuFileNew")->isEnabled(),   f.ShownItem("mnuFileOpen")->isEnabled(),
            f.ShownItem("mnuPrograms")->isEnabled(),  f.ShownItem("mnuCalProtPH")->isEnabled(),
            f.ShownItem("mnuHelpAbout")->isEnabled(), f.main->tbToolBar->isEnabled(),
            f.ShownItem("mnuFileExit")->isEnabled()};
}

} // namespace

// During the search nothing else can start: every command but Quit is disabled, and the
// commands that still arrive (a second click, a shortcut) start no second conversation.
TEST(BusyState, DuringTheSearchOnlyQuitIsEnabledAndOtherCommandsAreIgnored) {
    MainWindowFixture f;
    ScriptMeter(*f.link);
    std::optional<Commands> during;
    int scans = 0;
    f.link->onScan = [&] {
        if (++scans > 1) {
            return;
        }
        during = Shown(f);
        f.main->MenuDeviceSearch();
        f.main->MenuFileNew();
        f.main->MenuFileOpen();
        f.main->MenuChangeUser();
        f.main->ToolbarButtonClick(QStringLiteral("Import"));
        f.main->ActiveDocument()->MenuImport();
    };
    f.ui.messageAnswers = {MsgResult::Ok};
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna"), true));

    ASSERT_TRUE(during.has_value());
    EXPECT_FALSE(during->import || during->search || during->newDoc || during->open ||
                 during->programs || during->protocols || during->about || during->toolBar);
    EXPECT_TRUE(during->exit);
    EXPECT_EQ(scans, 1);
    EXPECT_TRUE(f.ui.dialogs.isEmpty());
    EXPECT_TRUE(f.ui.inputPrompts.isEmpty());
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{QStringLiteral("Zentravox reconnu!")});
    EXPECT_EQ(f.link->sent.count(QStringLiteral("U.581\r\n")), 0);
    // The search ended as if alone: online, consistent status bar, commands back.
    EXPECT_TRUE(f.main->services().device.Online());
    EXPECT_EQ(f.main->StatusBarText(2), QStringLiteral("4800 Baud"));
    EXPECT_EQ(f.main->StatusBarText(3), QStringLiteral("Zentravox"));
    const Commands after = Shown(f);
    EXPECT_TRUE(after.import && after.search && after.newDoc && after.open && after.toolBar);

    // The same from the menu: a second "Rechercher appareil" inside the first is ignored.
    f.ui.messageAnswers = {MsgResult::Ok};
    f.link->onScan = [&] {
        ++scans;
        f.main->MenuDeviceSearch();
    };
    f.main->MenuDeviceSearch();
    EXPECT_EQ(scans, 2);
    EXPECT_EQ(f.main->StatusBarText(3), QStringLiteral("Zentravox"));
    EXPECT_TRUE(f.ShownItem("mnuImport")->isEnabled());
}

// Quitting during the start-up search stops it; the window closes by itself once the
// search has come back, never under it, and no message holds it open.
TEST(BusyState, QuittingDuringTheStartUpSearchClosesAfterTheSearchReturned) {
    MainWindowFixture f;
    ScriptMeter(*f.link);
    bool closedAtOnce = true;
    f.link->onScan = [&] {
        closedAtOnce = f.main->close();
        EXPECT_TRUE(f.main->ClosePending());
    };
    f.ui.messageAnswers = {MsgResult::Cancel, MsgResult::Cancel};
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna"), true));
    EXPECT_FALSE(closedAtOnce);
    ASSERT_NE(f.link, nullptr); // the services lived through the search
    EXPECT_TRUE(f.link->calls.contains(QStringLiteral("COMStop")));
    EXPECT_FALSE(f.main->IsUnloaded());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.main->IsUnloaded(); }, 5000));
    EXPECT_EQ(f.link, nullptr); // released once nothing ran any more
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('\n').toStdString();
}

// Quitting while the console reads the meter's program list: the reading stops, the console
// is not shown after it, and the program ends by itself.
TEST(BusyState, QuittingDuringTheProgramListReadOpensNoConsole) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna")));
    f.RecogniseMeter(QStringLiteral("Zentravox"));
    f.link->ScriptOk(MeterCommand::kProgramList + QStringLiteral("\r\n"),
                     QStringLiteral("900\r\n901\r\n902"));
    bool closedAtOnce = true;
    f.ui.onYield = [&] {
        f.ui.onYield = nullptr;
        closedAtOnce = f.main->close();
    };
    bool consoleShown = false;
    QTimer::singleShot(3000, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            consoleShown = true;
            modal->close();
        }
    });
    f.main->MenuProgsUserDef();
    EXPECT_FALSE(closedAtOnce);
    EXPECT_FALSE(consoleShown);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.main->IsUnloaded(); }, 5000));
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('\n').toStdString();
}

// The surface of a window's controls: disabled while busy, its clicks ignored, the window
// kept open; afterwards every control has its own state back.
TEST(BusyState, AWindowsControlsWaitForTheRunningOperation) {
    BusyState busy;
    QDialog window;
    QWidget* content = NewBusyContent(window, busy);
    auto* run = new QPushButton(content);
    auto* never = new QPushButton(content);
    never->setEnabled(false);
    int runs = 0;
    struct Target : QObject {
        int* runs;
        void Command() { ++*runs; }
    } target;
    target.runs = &runs;
    ConnectCommand(run, &target, busy, &Target::Command);
    window.show();
    {
        const BusyState::Hold hold(busy);
        {
            const BusyState::Hold nested(busy); // holds nest
        }
        EXPECT_TRUE(busy.Busy());
        EXPECT_FALSE(run->isEnabled());
        emit run->clicked(); // a click queued before the button was disabled
        EXPECT_EQ(runs, 0);
        EXPECT_FALSE(window.close());
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&window, &escape);
        EXPECT_TRUE(window.isVisible());
    }
    EXPECT_FALSE(busy.Busy());
    EXPECT_TRUE(run->isEnabled());
    EXPECT_FALSE(never->isEnabled());
    run->click();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(window.close());
}

// The desktop session's quit closes the dialogs above the main window first and asks about
// unsaved data: "Annuler" keeps the program open. A termination signal (a shutdown, a
// service manager, a script) asks nothing: the dialogs go, the program ends, and the
// document's unsaved import stays as its recovery copy.
TEST(BusyState, TheSessionsQuitAsksAboutUnsavedDataATerminationSignalEndsWithoutAQuestion) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna")));
    const QuitRequests quitRequests(*f.main, [&f] { f.main->EndBySignal(); });
    f.RecogniseMeter(QStringLiteral("Zentravox"));
    f.link->ScriptOk(QStringLiteral("U.581\r\n"),
                     QStringLiteral("1;12.03.24;09:05:03;17;320;PO4-P;;1:1;0.42;mg/l;OK;;;;;"));
    f.main->ActiveDocument()->MenuImport();
    const QString copy = f.main->ActiveDocument()->RecoveryPath();
    ASSERT_TRUE(QFileInfo::exists(copy));
    const auto quitWhileAboutIsOpen = [&](const std::function<void()>& quit) {
        f.ui.Clear();
        QTimer::singleShot(0, quit);
        f.main->MenuHelpAbout(); // modal until the quit closes it
    };

    f.ui.messageAnswers = {MsgResult::Cancel};
    quitWhileAboutIsOpen([] {
        QEvent quit(QEvent::Quit); // what the platform sends when the session ends
        QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.ui.messages.isEmpty(); }, 5000));
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{LoadResString(1178) + "\r\n" + LoadResString(1179)});
    QTest::qWait(100);
    EXPECT_FALSE(f.main->IsUnloaded());
    EXPECT_FALSE(f.main->ClosePending());
    EXPECT_FALSE(f.main->services().busy.Quitting());

    quitWhileAboutIsOpen([] { std::raise(SIGTERM); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.main->IsUnloaded(); }, 5000));
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('\n').toStdString();
    EXPECT_TRUE(QFileInfo::exists(copy));
    RecoveryStore::Remove(copy);
}

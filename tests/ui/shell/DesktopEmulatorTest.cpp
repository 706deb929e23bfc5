#include "ProgramWindowFixture.h"
#include "app/Services.h"
#include "meter/CLogin.h"
#include "meter/MeterCommands.h"
#include "meter/SerialLink.h"
#include "support/MeterSim.h"
#include "support/ScriptedUi.h"
#include "ui/app/frmWait.h"
#include "ui/programs/frmProgConsole.h"
#include "ui/shell/QuitRequests.h"
#include "ui/shell/StartUp.h"
#include "ui/shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The desktop program over the real serial link, searching only the emulator's device.
struct EmulatedDesktop {
    explicit EmulatedDesktop(const MeterSim& sim) {
        const QStringList ports{sim.device()};
        main = std::make_unique<frmMain>(ui, [ports](Ui& linkUi) -> std::unique_ptr<MeterLink> {
            return MakeSerialLink(linkUi, ports);
        });
        main->show();
    }
    ~EmulatedDesktop() {
        ui.onYield = nullptr;
        ui.messageAnswers.assign(64, MsgResult::No);
        main->close();
    }
    bool LogInAndSearch() {
        return StartUp(*main, [](CLogin& login) {
            login.Successful(true);
            login.UserName(QStringLiteral("anna"));
        });
    }
    ScriptedUi ui;
    std::unique_ptr<frmMain> main;
};

} // namespace

TEST(DesktopEmulator, StartUpSearchFindsTheMeterAndTheUserConfirmsIt) {
    MeterSim sim(
        {"--baud", "9600", "--model", "Zentravox", "--serial", "ZX 1", "--firmware", "2.05"});
    ASSERT_FALSE(sim.device().isEmpty()) << sim.errors().toStdString();
    EmulatedDesktop d(sim);
    d.ui.messageAnswers = {MsgResult::Ok};
    ASSERT_TRUE(d.LogInAndSearch());
    EXPECT_EQ(d.ui.MessageTexts(), QStringList{QStringLiteral("Zentravox reconnu!")});
    EXPECT_EQ(d.main->StatusBarText(1), sim.device());
    EXPECT_EQ(d.main->StatusBarText(2), QStringLiteral("9600 Baud"));
    EXPECT_EQ(d.main->StatusBarText(3), QStringLiteral("Zentravox"));
    EXPECT_EQ(d.main->StatusBarText(4), QStringLiteral("ZX 1"));
    EXPECT_TRUE(d.main->ToolButton(QStringLiteral("Import"))->isEnabled());
    EXPECT_TRUE(sim.log().endsWith(QStringLiteral("U.596")) ||
                sim.log().endsWith(QStringLiteral("U.592")));
}

TEST(DesktopEmulator, ClosingTheWaitDialogEndsTheSearchAsNotFound) {
    // At the last of the five rates the search would take about four answer times.
    MeterSim sim({"--baud", "1200", "--model", "Zentravox", "--firmware", "2.05"});
    ASSERT_FALSE(sim.device().isEmpty()) << sim.errors().toStdString();
    EmulatedDesktop d(sim);
    int closed = 0;
    d.ui.onYield = [&] {
        for (frmWait* wait : d.main->findChildren<frmWait*>()) {
            if (wait->isVisible()) {
                wait->close();
                ++closed;
            }
        }
    };
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(d.LogInAndSearch());
    EXPECT_EQ(closed, 1);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(d.ui.MessageTexts(),
              QStringList{QStringLiteral("Pas de Zentravox, Zentravox Turb ou Ardel 20 reconnu!")});
    EXPECT_EQ(d.main->StatusBarText(1), QStringLiteral("hors ligne"));
    EXPECT_FALSE(d.main->ToolButton(QStringLiteral("Import"))->isEnabled());
}

// The desktop session ends while "Copier tout" copies thirty programs into the meter: the
// copy ends after the program under way, the console and the main window close without a
// message, and what arrived stays in the meter.
TEST(DesktopEmulator, SessionEndDuringCopyAllEndsTheCopyAndTheProgram) {
    MeterSim sim(
        {"--baud", "9600", "--model", "Zentravox", "--firmware", "2.05", "--programs", "0"});
    ASSERT_FALSE(sim.device().isEmpty()) << sim.errors().toStdString();
    EmulatedDesktop d(sim);
    d.ui.messageAnswers = {MsgResult::Ok};
    ASSERT_TRUE(d.LogInAndSearch());
    d.ui.Clear();
    TempDir work;
    CUsrDefProg& store = d.main->services().usrDefProg;
    store.WorkDir(work.path());
    for (int n = 900; n < 930; ++n) {
        ASSERT_TRUE(store.SaveToFile(SampleProgram(QString::number(n)),
                                     work.file(QStringLiteral("P%1.csv").arg(n))));
    }
    const QuitRequests quitRequests(*d.main, [&d] { d.main->EndBySignal(); });
    const auto copied = [&] { return sim.log().filter(MeterCommand::kNewProgram).size(); };
    bool ended = false;
    d.ui.onYield = [&] {
        if (!ended && copied() >= 3) {
            ended = true;
            QEvent quit(QEvent::Quit); // what the platform sends when the session ends
            QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
        }
    };
    // The console reads the meter's list before it shows; the copy starts once it is up.
    QTimer start;
    QObject::connect(&start, &QTimer::timeout, [&] {
        if (auto* console = qobject_cast<frmProgConsole*>(QApplication::activeModalWidget())) {
            start.stop();
            console->lstProgsPC->setCurrentRow(0);
            console->cmdCopyToMeterAll->click();
        }
    });
    start.start(20);
    QTimer::singleShot(30000, [] { // a console left open fails the test, not the run
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    d.main->MenuProgsUserDef();
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.main->IsUnloaded(); }, 5000));
    EXPECT_TRUE(ended);
    EXPECT_LE(copied(), 4);
    EXPECT_TRUE(d.ui.messages.isEmpty()) << d.ui.MessageTexts().join('\n').toStdString();
}

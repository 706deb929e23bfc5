#include "app/Services.h"
#include "meter/SerialLink.h"
#include "support/MeterSim.h"
#include "support/ScriptedUi.h"
#include "ui/calibration/frmCalProtEdit.h"
#include "ui/calibration/frmCalProtocolPH.h"
#include "ui/calibration/frmCalProtocolTurb.h"
#include "ui/shell/StartUp.h"
#include "ui/shell/WindowServices.h"
#include "ui/shell/frmMain.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The protocol windows of the desktop program, talking to the emulator over its device.
class ProtocolWindowsOverEmulator : public ::testing::Test {
protected:
    ~ProtocolWindowsOverEmulator() override {
        ui.messageAnswers.assign(16, MsgResult::No);
        if (main) {
            main->close();
        }
        QLocale::setDefault(m_locale);
    }

    // Starts the program with a confirmed search that finds the emulated meter.
    void Start(const MeterSim& sim) {
        ASSERT_FALSE(sim.device().isEmpty()) << sim.errors().toStdString();
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const QStringList ports{sim.device()};
        main = std::make_unique<frmMain>(
            ui, [ports](Ui& linkUi) { return MakeSerialLink(linkUi, ports); });
        ui.messageAnswers = {MsgResult::Ok};
        ASSERT_TRUE(StartUp(*main, [](CLogin& login) {
            login.Successful(true);
            login.UserName(QStringLiteral("anna"));
        }));
        ASSERT_TRUE(main->services().device.Online());
        ui.Clear();
    }

    static QStringList Meter(const char* model, const QStringList& more = {}) {
        return QStringList{QStringLiteral("--model"), QLatin1String(model),
                           QStringLiteral("--firmware"), QStringLiteral("2.50")} +
               more;
    }

    ScriptedUi ui;
    std::unique_ptr<frmMain> main;

private:
    QLocale m_locale = QLocale();
};

} // namespace

TEST_F(ProtocolWindowsOverEmulator, PHProtocolOfTheMeter) {
    MeterSim sim(Meter("Zentravox pH"));
    Start(sim);
    frmCalProtocolPH w(*main, ProtocolServicesOf(main->services()));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    EXPECT_TRUE(sim.log().contains(QStringLiteral("U.586")));
    EXPECT_EQ(w.lblMeterValue->text(), QStringLiteral("Zentravox pH"));
    EXPECT_EQ(w.lblUserValue->text(), QStringLiteral("anna"));
    EXPECT_EQ(w.lblCalDateValue->text(), QStringLiteral("11/03/2024"));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(w.lblBufNo[k]->text(), QStringLiteral("#%1").arg(k + 1));
    }
    EXPECT_TRUE(w.cmdSaveAsFile->isEnabled());
}

TEST_F(ProtocolWindowsOverEmulator, RefusedProtocolCommand) {
    MeterSim sim(
        Meter("Zentravox pH", {QStringLiteral("--fault"), QStringLiteral("refuse:U.586")}));
    Start(sim);
    frmCalProtocolPH w(*main, ProtocolServicesOf(main->services()));
    EXPECT_EQ(ui.MessageTexts(),
              QStringList({"Erreur pendant la lecture du protocole de calibration!"}));
    EXPECT_EQ(w.lblMeterValue->text(), QString());
    EXPECT_EQ(w.lblBufNo[0]->text(), QString());
    EXPECT_FALSE(w.cmdSaveAsFile->isEnabled());
    EXPECT_FALSE(w.cmdPrint->isEnabled());
}

TEST_F(ProtocolWindowsOverEmulator, Ardel60ExtendedTurbidityProtocol) {
    MeterSim sim(Meter("Ardel 60 T"));
    Start(sim);
    frmCalProtocolTurb w(*main, ProtocolServicesOf(main->services()),
                         [this]() -> frmCalProtEdit& { return main->CalProtEdit(); });
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    EXPECT_TRUE(sim.log().contains(QStringLiteral("U.587")));
    EXPECT_FALSE(sim.log().contains(QStringLiteral("U.585")));
    QStringList standards;
    for (const QLabel* label : w.standardLabels) {
        standards << label->text();
    }
    EXPECT_EQ(standards,
              QStringList({"0.02 FNU/NTU", "10.0 FNU/NTU", "100 FNU/NTU", "1000 FNU/NTU", ""}));
    EXPECT_EQ(w.statusLabels[3]->text(), QStringLiteral("OK"));
    EXPECT_EQ(w.statusLabels[4]->text(), QString());
}

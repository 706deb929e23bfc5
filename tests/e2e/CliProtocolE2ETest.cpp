#include "app/Windows1252.h"
#include "support/CliRunner.h"
#include "support/MeterSim.h"
#include "support/PdfText.h"
#include "support/QtPrint.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Fetches the protocol of an emulated meter with the command line.
class CliProtocolE2E : public ::testing::Test {
protected:
    CliResult Fetch(MeterSim& sim, const QString& kind) {
        EXPECT_TRUE(sim.running()) << sim.errors().toStdString();
        return RunCli({QStringLiteral("--port"), sim.device(), QStringLiteral("--user"),
                       QStringLiteral("Lab;Team"), QStringLiteral("protocol"), kind, out});
    }

    QStringList SavedLines() {
        return Windows1252::Decode(ReadBytes(out)).split(QStringLiteral("\r\n"));
    }

    static QStringList Meter(const char* model) {
        return {QStringLiteral("--model"), QLatin1String(model),         QStringLiteral("--serial"),
                QStringLiteral("T-0042"),  QStringLiteral("--firmware"), QStringLiteral("2.50")};
    }

    TempDir dir;
    const QString out = dir.file(QStringLiteral("protocol.csv"));
};

} // namespace

TEST_F(CliProtocolE2E, Ardel60GetsTheExtendedTurbidityProtocol) {
    MeterSim sim(Meter("Ardel 60 IR"));
    const CliResult r = Fetch(sim, QStringLiteral("turbidity"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(sim.log().contains(QStringLiteral("U.587")));
    EXPECT_FALSE(sim.log().contains(QStringLiteral("U.585")));
    const QStringList lines = SavedLines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[1], QStringLiteral("Ardel 60 IR;T-0042;Lab.Team;False"));
    EXPECT_EQ(lines[3], QStringLiteral("2024;3;12;9;5;40;30;4-P StdCAL;;;;False;False"));
    EXPECT_EQ(lines[9], QStringLiteral("4;0.02;10.0;100;1000;"));

    // The saved file prints: one row per standard, each ending in "OK".
    const QString pdf = dir.file(QStringLiteral("protocol.pdf"));
    const CliResult printed =
        RunCli({QStringLiteral("protocol"), QStringLiteral("print"), out, pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    const QList<QStringList> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(pages[0].filter(QStringLiteral("FNU/NTU")),
              QStringList({"1 0.02 FNU/NTU OK", "2 10.0 FNU/NTU OK", "3 100 FNU/NTU OK",
                           "4 1000 FNU/NTU OK"}));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Protocole de calibration - Turbidité")));
}

TEST_F(CliProtocolE2E, Ardel20GetsTheStandardTurbidityProtocol) {
    MeterSim sim(Meter("Ardel 20 IR"));
    const CliResult r = Fetch(sim, QStringLiteral("turbidity"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(sim.log().contains(QStringLiteral("U.585")));
    EXPECT_FALSE(sim.log().contains(QStringLiteral("U.587")));
    const QStringList lines = SavedLines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[3], QStringLiteral("2024;3;12;9;5;40;30;3-P StdCAL;;;;False;False"));
    EXPECT_EQ(lines[9], QStringLiteral("3;0.02;10.0;1000;;"));
}

TEST_F(CliProtocolE2E, PHProtocolOnlyFromAMeterWithAPHChannel) {
    {
        MeterSim sim(Meter("Zentravox pH"));
        const CliResult r = Fetch(sim, QStringLiteral("ph"));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(sim.log().contains(QStringLiteral("U.586")));
        const QStringList lines = SavedLines();
        ASSERT_EQ(lines.size(), 10);
        EXPECT_EQ(lines[1], QStringLiteral("Zentravox pH;T-0042;Lab.Team;True"));
        EXPECT_TRUE(lines[5].startsWith(QStringLiteral("3;4.01;172.4;24.8;7.00;")))
            << lines[5].toStdString();
    }
    QFile::remove(out);
    {
        MeterSim sim(Meter("Ardel 20 IR"));
        const CliResult r = Fetch(sim, QStringLiteral("ph"));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err,
                  QStringLiteral("Erreur pendant la lecture du protocole de calibration!\n"));
        EXPECT_FALSE(sim.log().contains(QStringLiteral("U.586")));
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(CliProtocolE2E, ARefusedProtocolCommandSavesNothing) {
    QStringList args = Meter("Zentravox pH");
    args << QStringLiteral("--fault") << QStringLiteral("refuse:U.586");
    MeterSim sim(args);
    const CliResult r = Fetch(sim, QStringLiteral("ph"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("Erreur pendant la lecture du protocole de calibration!\n"));
    EXPECT_TRUE(sim.log().contains(QStringLiteral("U.586")));
    EXPECT_FALSE(QFile::exists(out));
}

#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/MeterSim.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

// Answer time of the search and what one more probe round may add at most.
constexpr qint64 kRateMs = 1000;
constexpr qint64 kSlackMs = 200;
const QStringList kRates = {"4800", "19200", "9600", "2400", "1200"};

struct TimedSearch {
    CliResult result;
    qint64 elapsedMs = 0;
};

TimedSearch Search(const MeterSim& sim) {
    QElapsedTimer clock;
    clock.start();
    TimedSearch s{RunCli({"--port", sim.device(), "search"}, 30000), 0};
    s.elapsedMs = clock.elapsed();
    return s;
}

class CliSearchAtRate : public ::testing::TestWithParam<int> {};

} // namespace

// The search tries the rates in a fixed order; a meter at the n-th rate is found after
// n - 1 silent rates of one answer time each.
TEST_P(CliSearchAtRate, FindsTheMeterAndPrintsItsLine) {
    const int index = GetParam();
    const QString rate = kRates[index];
    MeterSim sim(
        {"--baud", rate, "--model", "Zentravox pH", "--serial", "ZX 0815", "--firmware", "2.05"});
    ASSERT_FALSE(sim.device().isEmpty()) << sim.errors().toStdString();
    const TimedSearch s = Search(sim);
    ASSERT_EQ(s.result.exitCode, 0) << s.result.err.toStdString();
    EXPECT_EQ(s.result.out, sim.device() + ';' + rate + QStringLiteral(";Zentravox pH;ZX 0815\n"));
    EXPECT_TRUE(s.result.err.isEmpty()) << s.result.err.toStdString();
    EXPECT_GE(s.elapsedMs, index * kRateMs);
    EXPECT_LT(s.elapsedMs, (index + 1) * (kRateMs + kSlackMs));
    // The identification dialogue, in order, after the probe that found the meter.
    const QStringList log = sim.log();
    ASSERT_GE(log.size(), 6);
    EXPECT_EQ(log.mid(log.size() - 6),
              QStringList({"U.400", "U.400", "U.597", "U.595", "U.596", "U.592"}));
}

INSTANTIATE_TEST_SUITE_P(EveryRate, CliSearchAtRate, ::testing::Range(0, 5),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Baud" + kRates[info.param].toStdString();
                         });

TEST(CliSearchE2E, SilentMeterIsNotFoundAfterBothPasses) {
    MeterSim sim({"--fault", "silent:U.400"});
    ASSERT_FALSE(sim.device().isEmpty()) << sim.errors().toStdString();
    const TimedSearch s = Search(sim);
    EXPECT_EQ(s.result.exitCode, 1);
    EXPECT_TRUE(s.result.out.isEmpty());
    EXPECT_EQ(s.result.err, LoadResString(1060) + QLatin1Char('\n'));
    EXPECT_GE(s.elapsedMs, 2 * 5 * kRateMs);
    EXPECT_LT(s.elapsedMs, 2 * 5 * (kRateMs + kSlackMs));
    // Probed at every rate of both passes, and nothing else was sent.
    EXPECT_EQ(sim.log(), QStringList(10, QStringLiteral("U.400")));
}

TEST(CliSearchE2E, OldFirmwareAndArdel60OnlyMode) {
    {
        MeterSim sim({"--model", "Ardel 60 IR", "--firmware", "2.41"});
        const TimedSearch s = Search(sim);
        EXPECT_EQ(s.result.exitCode, 1);
        EXPECT_EQ(s.result.err, LoadResString(1201) + '\n' + LoadResString(1202) + '\n');
        EXPECT_TRUE(s.result.out.isEmpty());
    }
    TempDir dir;
    WriteBytes(dir.file(QStringLiteral("Settings.ini")), "[General]\r\nOnlyArdel60=True\r\n");
    const QByteArray programDir = qgetenv("MERVEX_PROGRAM_DIR");
    qputenv("MERVEX_PROGRAM_DIR", dir.path().toLocal8Bit());
    {
        MeterSim photometer({"--model", "Zentravox"});
        const TimedSearch s = Search(photometer);
        EXPECT_EQ(s.result.exitCode, 1);
        EXPECT_EQ(s.result.err, LoadResString(1245) + '\n');
    }
    {
        MeterSim turbidimeter({"--model", "Ardel 60 T", "--firmware", "2.42", "--serial", "A6"});
        const TimedSearch s = Search(turbidimeter);
        EXPECT_EQ(s.result.exitCode, 0) << s.result.err.toStdString();
        EXPECT_EQ(s.result.out, turbidimeter.device() + QStringLiteral(";4800;Ardel 60 T;A6\n"));
    }
    qputenv("MERVEX_PROGRAM_DIR", programDir);
}

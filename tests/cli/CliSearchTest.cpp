#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

// Searches that cannot find a meter; the meter emulator's searches are end-to-end tests.

TEST(CliSearch, NoMeterGivesTheLocalisedMessageAndNamesUnusablePorts) {
    const CliResult r = RunCli({"--port", "/dev/null", "--port", "/dev/no-such-port", "search"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The port once for the whole command (not once per search pass), then the verdict.
    ASSERT_EQ(lines.size(), 2) << r.err.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("/dev/null")));
    EXPECT_EQ(lines[1], LoadResString(1060));
    EXPECT_FALSE(r.err.contains(QStringLiteral("no-such-port")));
}

TEST(CliSearch, Ardel60OnlyModeSaysSo) {
    TempDir dir;
    WriteBytes(dir.file(QStringLiteral("Settings.ini")), "[General]\r\nOnlyArdel60=True\r\n");
    const QByteArray programDir = qgetenv("MERVEX_PROGRAM_DIR");
    qputenv("MERVEX_PROGRAM_DIR", dir.path().toLocal8Bit());
    const CliResult r = RunCli({"--port", "/dev/no-such-port", "search"});
    qputenv("MERVEX_PROGRAM_DIR", programDir);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, LoadResString(1245) + QLatin1Char('\n'));
}

TEST(CliSearch, TakesNoArguments) {
    const CliResult r = RunCli({"search", "now"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("usage: mervex-cli search")));
}

#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/ProgramDirOverride.h"
#include "support/QtPrint.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(CliImport, WithoutAMeterNothingIsWritten) {
    TempDir dir;
    const QString out = dir.file(QStringLiteral("out.csv"));
    const CliResult r =
        RunCli({QStringLiteral("--port"), dir.file(QStringLiteral("no-such-device")),
                QStringLiteral("import"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.endsWith(LoadResString(1060) + QLatin1Char('\n'))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
}

TEST(CliImport, Ardel60OnlyModeNamesItsMeter) {
    TempDir dir;
    WriteBytes(dir.file(QStringLiteral("Settings.ini")), "[General]\r\nOnlyArdel60=True\r\n");
    ProgramDirOverride programDir(dir.path());
    const CliResult r = RunCli({QStringLiteral("--port"), dir.file(QStringLiteral("none")),
                                QStringLiteral("import"), dir.file(QStringLiteral("out.csv"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.endsWith(LoadResString(1245) + QLatin1Char('\n'))) << r.err.toStdString();
}

TEST(CliImport, UsageErrors) {
    EXPECT_EQ(RunCli({QStringLiteral("import")}).exitCode, 2);
    const CliResult r =
        RunCli({QStringLiteral("import"), QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("import OUT.csv")));
}

#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/QtPrint.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Runs the command line with its program folder (and so Settings.ini) in `dir`.
class ProgramDirOverride {
public:
    explicit ProgramDirOverride(const QString& dir) : m_saved(qgetenv("MERVEX_PROGRAM_DIR")) {
        qputenv("MERVEX_PROGRAM_DIR", dir.toLocal8Bit());
    }
    ~ProgramDirOverride() { qputenv("MERVEX_PROGRAM_DIR", m_saved); }

private:
    QByteArray m_saved;
};

} // namespace

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

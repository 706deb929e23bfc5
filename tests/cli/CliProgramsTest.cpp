#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(CliPrograms, UsageErrors) {
    const QList<QStringList> cases{{},
                                   {"list", "extra"},
                                   {"get", "900"},
                                   {"put"},
                                   {"put", "a.csv", "--force"},
                                   {"delete"},
                                   {"delete", "900", "901"},
                                   {"rename", "900"}};
    for (const QStringList& args : cases) {
        const CliResult r = RunCli(QStringList{"programs"} + args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("usage: mervex-cli programs")) << r.err.toStdString();
    }
}

TEST(CliPrograms, ABadProgramFileFailsBeforeTheSearch) {
    TempDir dir;
    WriteBytes(dir.file("bad.csv"), "NO;MODEL\r\n905\r\n");
    const CliResult bad =
        RunCli({"--port", dir.file("no-such-port"), "programs", "put", dir.file("bad.csv")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, QStringLiteral("Lecture des programmes a échoué!\n"));

    const CliResult missing =
        RunCli({"--port", dir.file("no-such-port"), "programs", "put", dir.file("missing.csv")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.endsWith(QStringLiteral("\nLecture des programmes a échoué!\n")));
}

TEST(CliPrograms, NoMeterNoPrograms) {
    TempDir dir;
    const CliResult r = RunCli({"--port", dir.file("no-such-port"), "programs", "list"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("reconnu!"))) << r.err.toStdString();
}

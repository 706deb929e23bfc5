#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/MeterSim.h"
#include "support/QtPrint.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// A data memory with what a dataset file must carry unchanged: accents, empty fields.
const QByteArray kRecords =
    "1;07/12/26;09:05:03;17;101;PO4;AR;1:1;0.42;mg/l;OK;;;;01/12/26;08:00\r\n"
    "2;07/12/26;09:06:10;18;101;PO4;;1:1;1.25;\xB5g/l;Trop haut;;;;01/12/26;08:00\r\n"
    "3;07/12/26;09:07:00;19;230;NO3;;1:5;3.1;mg/l;OK;0.7;mg/l;OK;01/12/26;08:00";

QStringList CliImport(const MeterSim& sim, const QString& out) {
    return {QStringLiteral("--port"), sim.device(),
            QStringLiteral("--user"), QStringLiteral("Anaïs;Lab"),
            QStringLiteral("import"), out};
}

} // namespace

TEST(CliImportOverTheEmulator, SavesTheDataMemoryAsADatasetFile) {
    TempDir dir;
    WriteBytes(dir.file(QStringLiteral("memory.txt")), kRecords);
    MeterSim sim({QStringLiteral("--model"), QStringLiteral("Zentravox"),
                  QStringLiteral("--serial"), QStringLiteral("ZV-0042"),
                  QStringLiteral("--records-file"), dir.file(QStringLiteral("memory.txt"))});
    ASSERT_TRUE(sim.running()) << sim.errors().toStdString();
    const QString out = dir.file(QStringLiteral("out.csv"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const CliResult r = RunCli(CliImport(sim, out));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QList<QByteArray> lines = ReadBytes(out).split('\n');
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "METER;S/N;USER;DATE;TIME\r");
    const QList<QByteArray> header = lines[1].chopped(1).split(';');
    ASSERT_EQ(header.size(), 5);
    EXPECT_EQ(header[0], "Zentravox");
    EXPECT_EQ(header[1], "ZV-0042");
    EXPECT_EQ(header[2], "Ana\xEFs.Lab") << "the login rules apply to --user";
    const QDateTime stamp = QDateTime::fromString(QString::fromLatin1(header[3] + ' ' + header[4]),
                                                  QStringLiteral("M/d/yyyy H:m:s"));
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, QDateTime::currentDateTime());
    EXPECT_EQ(lines[3], "NO;DATE;TIME;ID;PROG;CIT;AR/BV;DIL;VALUE1;UNIT1;VALID1;VALUE2;UNIT2;"
                        "VALID2\r");
    EXPECT_EQ(ReadBytes(out).mid(ReadBytes(out).indexOf("1;07/12/26")), kRecords);
    EXPECT_EQ(sim.log().filter(QStringLiteral("U.581")).size(), 1);
    EXPECT_FALSE(sim.log().contains(QStringLiteral("U.999")));
}

// The import is archived unless told not to; a second import of the same memory adds
// nothing new.
TEST(CliImportOverTheEmulator, ArchivesTheImportUnlessToldNot) {
    TempDir dir;
    const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.file(QStringLiteral("data")).toLocal8Bit());
    WriteBytes(dir.file(QStringLiteral("memory.txt")), kRecords);
    MeterSim sim({QStringLiteral("--model"), QStringLiteral("Zentravox"),
                  QStringLiteral("--records-file"), dir.file(QStringLiteral("memory.txt"))});
    ASSERT_TRUE(sim.running()) << sim.errors().toStdString();
    const QString out = dir.file(QStringLiteral("out.csv"));
    const CliResult first = RunCli(CliImport(sim, out) << QStringLiteral("--no-archive"));
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.isEmpty());
    const CliResult second = RunCli(CliImport(sim, out));
    EXPECT_EQ(second.out, LoadResString(1650).arg(3).arg(0) + QLatin1Char('\n'));
    const CliResult third = RunCli(CliImport(sim, out));
    EXPECT_EQ(third.out, LoadResString(1650).arg(0).arg(3) + QLatin1Char('\n'));
    qputenv("XDG_DATA_HOME", savedHome);
}

TEST(CliImportOverTheEmulator, ARefusedTransferIsAnImportError) {
    TempDir dir;
    MeterSim sim({QStringLiteral("--model"), QStringLiteral("Ardel 60 T"),
                  QStringLiteral("--firmware"), QStringLiteral("2.42"), QStringLiteral("--records"),
                  QStringLiteral("5"), QStringLiteral("--fault"), QStringLiteral("refuse:U.581")});
    ASSERT_TRUE(sim.running()) << sim.errors().toStdString();
    const QString out = dir.file(QStringLiteral("out.csv"));
    const CliResult r = RunCli(CliImport(sim, out));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, LoadResString(1036) + QLatin1Char('\n'));
    EXPECT_FALSE(QFile::exists(out));
    const QStringList log = sim.log();
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.back(), QStringLiteral("U.999"));
}

TEST(CliImportOverTheEmulator, AFileThatCannotBeWrittenIsASaveError) {
    TempDir dir;
    MeterSim sim({QStringLiteral("--records"), QStringLiteral("3")});
    ASSERT_TRUE(sim.running()) << sim.errors().toStdString();
    const CliResult r = RunCli(CliImport(sim, dir.file(QStringLiteral("missing/out.csv"))));
    EXPECT_EQ(r.exitCode, 1);
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.err.toStdString(); // the system's reason, then ours
    EXPECT_TRUE(lines[0].contains(QStringLiteral("missing/out.csv")));
    EXPECT_EQ(lines[1], LoadResString(1177));
}

// The import that finds the disk full keeps the old dataset file and names the reason.
TEST(CliImportOverTheEmulator, AFullDiskKeepsTheOldFile) {
    const SmallDisk disk(64 * 1024, 16);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Why();
    }
    TempDir dir;
    WriteBytes(dir.file(QStringLiteral("memory.txt")), kRecords);
    MeterSim sim({QStringLiteral("--records-file"), dir.file(QStringLiteral("memory.txt"))});
    ASSERT_TRUE(sim.running()) << sim.errors().toStdString();
    const QString out = disk.file(QStringLiteral("old.csv"));
    WriteBytes(out, "old dataset");
    disk.Fill();
    const CliResult r = RunCli(CliImport(sim, out));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(out + QStringLiteral(": Disque plein"))) << r.err.toStdString();
    EXPECT_EQ(ReadBytes(out), QByteArray("old dataset"));
}

#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "support/CliRunner.h"
#include "support/DatasetFiles.h"
#include "support/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Every test keeps its own archive: the per-user data folder of the programs it starts.
class CliArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.file(QStringLiteral("data")).toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_saved); }

    QString File(const QString& name, const QString& serial, const QStringList& records) {
        const QString path = dir.file(name);
        WritePhotometerFile(path, serial, records);
        return path;
    }
    static CliResult Archive(const QStringList& args) {
        return RunCli(QStringList{QStringLiteral("archive")} + args);
    }

    TempDir dir;

private:
    QByteArray m_saved;
};

TEST_F(CliArchiveTest, AddsEachFileAndCountsWhatWasThereAlready) {
    const QString a =
        File(QStringLiteral("a.csv"), QStringLiteral("S1"), ArchivePhotometerRecords(0, 40));
    const QString b =
        File(QStringLiteral("b.csv"), QStringLiteral("S1"), ArchivePhotometerRecords(20, 40));
    const QString bad = dir.file(QStringLiteral("bad.csv"));
    WriteBytes(bad, "not a dataset");
    // A file saved from records of two meters names both: it cannot say whose each is.
    const QString both =
        File(QStringLiteral("both.csv"), QStringLiteral("S1, S2"), ArchivePhotometerRecords(0, 5));
    // A record with a NUL character is refused alone, with its reason.
    QStringList records = ArchivePhotometerRecords(100, 3);
    records[1][2] = QChar(0);
    const QString nul = File(QStringLiteral("nul.csv"), QStringLiteral("S1"), records);
    const CliResult r = Archive({QStringLiteral("add"), a, bad, b, both, nul});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(r.out,
              LoadResString(1653).arg(a).arg(40).arg(0) + QLatin1Char('\n') +
                  LoadResString(1654).arg(bad, LoadResString(1181)) + QLatin1Char('\n') +
                  LoadResString(1653).arg(b).arg(20).arg(20) + QLatin1Char('\n') +
                  LoadResString(1654).arg(
                      both, RunTimeText(RtError::ArchiveNoMeter).arg(QStringLiteral("S1, S2"))) +
                  QLatin1Char('\n') + LoadResString(1693).arg(nul).arg(2).arg(0).arg(1) +
                  QLatin1Char('\n') +
                  LoadResString(1654).arg(nul, RunTimeText(RtError::ArchiveNulByte).arg(2)) +
                  QLatin1Char('\n'));
    const CliResult info = Archive({QStringLiteral("info")});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains(LoadResString(1656).arg(ArchiveDatabase::kSchemaVersion)));
    EXPECT_TRUE(info.out.contains(LoadResString(1659).arg(62))) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(dir.file(QStringLiteral("data"))));
}

TEST_F(CliArchiveTest, JsonReadsBackInPythonWithNumbersAsNumbers) {
    const QString a =
        File(QStringLiteral("a.csv"), QStringLiteral("S1"), ArchivePhotometerRecords(0, 200));
    ASSERT_EQ(Archive({QStringLiteral("add"), a}).exitCode, 0);
    const QString json = dir.file(QStringLiteral("out.json"));
    const CliResult r =
        Archive({QStringLiteral("query"), QStringLiteral("--from"), QStringLiteral("2024-01-01"),
                 QStringLiteral("--to"), QStringLiteral("2024-01-28"), QStringLiteral("--program"),
                 QStringLiteral("303"), QStringLiteral("--format"), QStringLiteral("json"),
                 QStringLiteral("-o"), json});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Records 0..27 fall in January; program 303 takes those with i % 10 == 3.
    QProcess python;
    python.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import json,sys; r=json.load(open(sys.argv[1],encoding='utf-8')); "
                        "print(len(r), round(sum(x['value1'] for x in r), 6), "
                        "all(isinstance(x['program'], int) for x in r), "
                        "r[0]['measured_at'], r[0]['value2'])"),
         json});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
              QStringLiteral("3 0.39 True 2024-01-04T00:00:00 None"));
}

TEST_F(CliArchiveTest, CsvGoesToStandardOutputAndBadOptionsAreUsageErrors) {
    const QString a =
        File(QStringLiteral("a.csv"), QStringLiteral("S,1"), ArchivePhotometerRecords(0, 3));
    ASSERT_EQ(Archive({QStringLiteral("add"), a}).exitCode, 0);
    const CliResult csv =
        Archive({QStringLiteral("query"), QStringLiteral("--serial"), QStringLiteral("S,1")});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(
        lines[0].startsWith(QStringLiteral("model,serial_number,user,record_number,measured_at")));
    EXPECT_TRUE(
        lines[0].endsWith(QStringLiteral(",raw_line,record_id,archived_at,beyond_limit,valid")));
    EXPECT_TRUE(lines[2].startsWith(
        QStringLiteral("Zentravox,\"S,1\",Marc,1,2024-01-02T00:00:00,301,NO3-N,1,,1:1,0.01,")))
        << lines[2].toStdString();
    // The filters a pull names: a citation form, a user, a model.
    const CliResult pulled =
        Archive({QStringLiteral("query"), QStringLiteral("--citation"), QStringLiteral("NO3-N"),
                 QStringLiteral("--user"), QStringLiteral("Marc"), QStringLiteral("--model"),
                 QStringLiteral("Zentravox"), QStringLiteral("--format"), QStringLiteral("tsv")});
    EXPECT_EQ(pulled.out.count(QLatin1Char('\n')), 4) << pulled.err.toStdString();
    for (const char* option : {"--citation", "--user", "--model"}) {
        const CliResult none =
            Archive({QStringLiteral("query"), QLatin1String(option), QStringLiteral("PO4-P")});
        EXPECT_EQ(none.out.count(QLatin1Char('\n')), 1) << option;
    }
    // A wrong value is named, not only the usage shown.
    const CliResult badDate =
        Archive({QStringLiteral("query"), QStringLiteral("--from"), QStringLiteral("2024-13-01")});
    EXPECT_EQ(badDate.exitCode, 2);
    EXPECT_TRUE(badDate.err.startsWith(
        LoadResString(1672).arg(QStringLiteral("--from"), QStringLiteral("2024-13-01"))))
        << badDate.err.toStdString();
    EXPECT_EQ(Archive({QStringLiteral("query"), QStringLiteral("--format"), QStringLiteral("xml")})
                  .exitCode,
              2);
    EXPECT_EQ(Archive({QStringLiteral("add")}).exitCode, 2);
    EXPECT_EQ(Archive({QStringLiteral("query"), QStringLiteral("--archived-since"),
                       QStringLiteral("yesterday")})
                  .exitCode,
              2);
    const CliResult future = Archive({QStringLiteral("query"), QStringLiteral("--archived-since"),
                                      QStringLiteral("2999-01-01T00:00:00")});
    EXPECT_EQ(future.out.count(QLatin1Char('\n')), 1) << future.out.toStdString();
    // archived_at is given in UTC, and a pull may name its own zone's time.
    // No limits apply: beyond_limit stays empty; the record is valid.
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("Z,,1"))) << lines[2].toStdString();
    const QString utc = lines[2].section(QLatin1Char(','), -3, -3);
    const QDateTime archivedAt = QDateTime::fromString(utc, Qt::ISODate);
    const QString anHourEarlierInParis =
        archivedAt.toOffsetFromUtc(3600).addSecs(-3600).toString(Qt::ISODate);
    EXPECT_TRUE(anHourEarlierInParis.endsWith(QStringLiteral("+01:00")));
    const CliResult since = Archive(
        {QStringLiteral("query"), QStringLiteral("--archived-since"), anHourEarlierInParis});
    EXPECT_EQ(since.out.count(QLatin1Char('\n')), 4) << since.out.toStdString();
    // An archive that cannot be opened is neither a refused file nor a usage error.
    WriteBytes(dir.file(QStringLiteral("data/Mervex/Mervex/archive.sqlite")),
               QByteArray(8192, 'x'));
    for (const char* command : {"info", "query", "add"}) {
        const QStringList args = {QLatin1String(command), a};
        EXPECT_EQ(Archive(command == QLatin1String("add") ? args : args.mid(0, 1)).exitCode, 3)
            << command;
    }
}

// Records go out as they are read; an output that takes none of them (a full disk) ends with
// its reason and status 1, never as a success with a short file.
TEST_F(CliArchiveTest, AQueryWhoseOutputCannotBeWrittenFails) {
    const QString a =
        File(QStringLiteral("a.csv"), QStringLiteral("S1"), ArchivePhotometerRecords(0, 3000));
    ASSERT_EQ(Archive({QStringLiteral("add"), a}).exitCode, 0);
    for (const char* format : {"csv", "json"}) {
        QProcess cli;
        cli.setStandardOutputFile(QStringLiteral("/dev/full"));
        cli.start(CliPath(), {QStringLiteral("archive"), QStringLiteral("query"),
                              QStringLiteral("--format"), QLatin1String(format)});
        ASSERT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 1) << format;
        EXPECT_FALSE(cli.readAllStandardError().trimmed().isEmpty()) << format;
    }
}

TEST_F(CliArchiveTest, TwoWritersAtOnceBothSucceed) {
    const QString a =
        File(QStringLiteral("a.csv"), QStringLiteral("S1"), ArchivePhotometerRecords(0, 30000));
    const QString b =
        File(QStringLiteral("b.csv"), QStringLiteral("S1"), ArchivePhotometerRecords(20000, 30000));
    // The archive exists before both start, as at a lab PC that has archived before.
    ASSERT_EQ(Archive({QStringLiteral("info")}).exitCode, 0);
    QProcess first, second;
    first.start(CliPath(), {QStringLiteral("archive"), QStringLiteral("add"), a});
    second.start(CliPath(), {QStringLiteral("archive"), QStringLiteral("add"), b});
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    const CliResult info = Archive({QStringLiteral("info")});
    EXPECT_TRUE(info.out.contains(LoadResString(1659).arg(50000))) << info.out.toStdString();
}

TEST_F(CliArchiveTest, BacksUpWhileAnotherProgramWritesAndTellsAnUnreadableArchiveApart) {
    const QString a =
        File(QStringLiteral("a.csv"), QStringLiteral("S1"), ArchivePhotometerRecords(0, 40));
    const QString b =
        File(QStringLiteral("b.csv"), QStringLiteral("S1"), ArchivePhotometerRecords(40, 30040));
    ASSERT_EQ(Archive({QStringLiteral("add"), a}).exitCode, 0);
    QProcess writer;
    writer.start(CliPath(), {QStringLiteral("archive"), QStringLiteral("add"), b});
    ASSERT_TRUE(writer.waitForStarted());
    const QString copy = dir.file(QStringLiteral("copy.sqlite"));
    const CliResult backup = Archive({QStringLiteral("backup"), copy});
    ASSERT_TRUE(writer.waitForFinished(60000));
    ASSERT_EQ(backup.exitCode, 0) << backup.err.toStdString();
    // Whatever moment it was taken at, the copy holds whole imports only.
    const bool before = backup.out == LoadResString(1688).arg(copy).arg(40) + QLatin1Char('\n');
    const bool after = backup.out == LoadResString(1688).arg(copy).arg(30040) + QLatin1Char('\n');
    EXPECT_TRUE(before || after) << backup.out.toStdString();

    EXPECT_EQ(Archive({QStringLiteral("backup")}).exitCode, 2);
    WriteBytes(dir.file(QStringLiteral("data/Mervex/Mervex/archive.sqlite")),
               QByteArray(8192, 'x'));
    for (const QStringList& args :
         {QStringList{QStringLiteral("info")}, QStringList{QStringLiteral("query")},
          QStringList{QStringLiteral("backup"), copy}, QStringList{QStringLiteral("verify")}}) {
        const CliResult damaged = Archive(args);
        EXPECT_EQ(damaged.exitCode, 3) << args.join(' ').toStdString();
        EXPECT_TRUE(damaged.err.contains(QStringLiteral("endommagée")))
            << damaged.err.toStdString();
    }
}

TEST_F(CliArchiveTest, VerifyNamesTheImportAnotherToolEditedAndTheJournalKeepsTheBackup) {
    for (int first : {0, 40}) {
        const QString file = File(QStringLiteral("f%1.csv").arg(first), QStringLiteral("S1"),
                                  ArchivePhotometerRecords(first, 40));
        ASSERT_EQ(Archive({QStringLiteral("add"), file}).exitCode, 0);
    }
    ASSERT_EQ(Archive({QStringLiteral("backup"), dir.file(QStringLiteral("copy.sqlite"))}).exitCode,
              0);
    const CliResult intact = Archive({QStringLiteral("verify")});
    EXPECT_EQ(intact.exitCode, 0) << intact.err.toStdString();
    // The archive made, two imports, the backup.
    EXPECT_EQ(intact.out, LoadResString(1799).arg(2).arg(80).arg(4) + QLatin1Char('\n'));
    EXPECT_EQ(Archive({QStringLiteral("verify"), QStringLiteral("now")}).exitCode, 2);

    // Another tool opens the file, drops the rule and changes one value of the second import.
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
                 {dir.file(QStringLiteral("data/Mervex/Mervex/archive.sqlite")),
                  QStringLiteral("DROP TRIGGER records_no_update; UPDATE records SET value1 = "
                                 "value1 + 1 WHERE id = 50;")});
    ASSERT_TRUE(sqlite.waitForFinished(10000));
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    const CliResult altered = Archive({QStringLiteral("verify")});
    EXPECT_EQ(altered.exitCode, 1);
    EXPECT_EQ(altered.err, LoadResString(1800).arg(2).arg(LoadResString(1801)) + QLatin1Char('\n'));
}

} // namespace

// Quality control from the command line: a control defined over the archive, its points
// judged with the exit status scripts and monitoring read, and limit values per program.

#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/DatasetFiles.h"
#include "support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <gtest/gtest.h>

namespace {

class CliQcTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.file(QStringLiteral("data")).toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_saved); }

    // The control "KS-PO4" measured once a day in January 2024 on program 303 with the given
    // values, between river samples.
    void ArchiveControl(const QList<double>& values) {
        QStringList records;
        for (int i = 0; i < values.size(); ++i) {
            const QString date = QStringLiteral("%1.01.24").arg(i + 1, 2, 10, QLatin1Char('0'));
            records << QStringLiteral("%1;%2;08:00:00;ks-po4;303;PO4-P;;1:1;%3;mg/l;OK;;;;"
                                      "01.01.24;07:00:00")
                           .arg(2 * i + 1)
                           .arg(date)
                           .arg(values[i], 0, 'f', 2)
                    << QStringLiteral("%1;%2;09:00:00;river;303;PO4-P;;1:1;9.99;mg/l;OK;;;;"
                                      "01.01.24;07:00:00")
                           .arg(2 * i + 2)
                           .arg(date);
        }
        const QString file = dir.file(QStringLiteral("control.csv"));
        WritePhotometerFile(file, QStringLiteral("S1"), records);
        ASSERT_EQ(RunCli({QStringLiteral("archive"), QStringLiteral("add"), file}).exitCode, 0);
    }
    static CliResult Qc(const QStringList& args) {
        return RunCli(QStringList{QStringLiteral("qc")} + args);
    }

    TempDir dir;

private:
    QByteArray m_saved;
};

} // namespace

TEST_F(CliQcTest, AControlOutsideItsLimitsFailsTheCheckWithItsRules) {
    // Target 2.00, SD 0.10: the fifth value lies +3.4 s out.
    ArchiveControl({2.00, 2.05, 1.95, 2.02, 2.34, 1.98});
    const CliResult defined =
        Qc({QStringLiteral("define"), QStringLiteral("KS-PO4"), QStringLiteral("--program"),
            QStringLiteral("303"), QStringLiteral("--id-equals"), QStringLiteral("KS-PO4"),
            QStringLiteral("--target"), QStringLiteral("2"), QStringLiteral("--sd"),
            QStringLiteral("0.1"), QStringLiteral("--unit"), QStringLiteral("mg/l")});
    ASSERT_EQ(defined.exitCode, 0) << defined.err.toStdString();
    // Without --valid-from the control holds from its first archived point.
    EXPECT_TRUE(defined.out.contains(QStringLiteral("2024-01-01"))) << defined.out.toStdString();

    // A value over the measuring range is no point; the check says so apart from its rows.
    const QString over = dir.file(QStringLiteral("over.csv"));
    WritePhotometerFile(
        over, QStringLiteral("S1"),
        {QStringLiteral("99;07.01.24;08:00:00;ks-po4;303;PO4-P;;1:1;> MR;mg/l;OK;;;;"
                        "01.01.24;07:00:00")});
    ASSERT_EQ(RunCli({QStringLiteral("archive"), QStringLiteral("add"), over}).exitCode, 0);
    const CliResult check =
        Qc({QStringLiteral("check"), QStringLiteral("--format"), QStringLiteral("json")});
    EXPECT_EQ(check.exitCode, 1) << check.err.toStdString();
    EXPECT_TRUE(check.err.startsWith(QStringLiteral("KS-PO4 \u2014 ")));
    EXPECT_TRUE(check.err.trimmed().endsWith(LoadResString(1902).arg(QStringLiteral("> MR"))))
        << check.err.toStdString();
    const QJsonArray points = QJsonDocument::fromJson(check.out.toUtf8()).array();
    ASSERT_EQ(points.size(), 6) << check.out.toStdString();
    const QJsonObject out = points[4].toObject();
    EXPECT_DOUBLE_EQ(out[QStringLiteral("z")].toDouble(), 3.4);
    EXPECT_EQ(out[QStringLiteral("rules")].toArray(),
              (QJsonArray{QStringLiteral("1-2s"), QStringLiteral("1-3s")}));
    EXPECT_EQ(out[QStringLiteral("measured_at")].toString(), QStringLiteral("2024-01-05T08:00:00"));
    EXPECT_TRUE(points[0].toObject()[QStringLiteral("rules")].toArray().isEmpty());

    // A period without the rejection passes; CSV joins the codes with "+".
    const CliResult early = Qc({QStringLiteral("check"), QStringLiteral("KS-PO4"),
                                QStringLiteral("--to"), QStringLiteral("2024-01-04")});
    EXPECT_EQ(early.exitCode, 0) << early.out.toStdString();
    EXPECT_EQ(early.out.count(QLatin1Char('\n')), 5);
    const CliResult csv =
        Qc({QStringLiteral("check"), QStringLiteral("--from"), QStringLiteral("2024-01-05")});
    EXPECT_TRUE(csv.out.contains(QStringLiteral(",1-2s+1-3s,"))) << csv.out.toStdString();
    EXPECT_EQ(Qc({QStringLiteral("check"), QStringLiteral("KS-NO3")}).exitCode, 1);
    EXPECT_EQ(
        Qc({QStringLiteral("check"), QStringLiteral("--from"), QStringLiteral("5.1.24")}).exitCode,
        2);

    // The outlier set aside (a bubble in the cuvette): no point, and the check passes.
    const QString outlier = QString::number(out[QStringLiteral("record_id")].toInteger());
    ASSERT_EQ(RunCli({QStringLiteral("archive"), QStringLiteral("invalidate"), outlier,
                      QStringLiteral("--reason"), QStringLiteral("bulle")})
                  .exitCode,
              0);
    const CliResult without = Qc({QStringLiteral("check")});
    EXPECT_EQ(without.exitCode, 0) << without.out.toStdString();
    EXPECT_EQ(without.out.count(QLatin1Char('\n')), 6);
    EXPECT_TRUE(without.err.contains(LoadResString(1834).arg(QStringLiteral("bulle"))))
        << without.err.toStdString();
}

TEST_F(CliQcTest, ANewVersionOrAnEstimateIsAddedAndTooFewPointsAreRefused) {
    ArchiveControl({2.00, 2.05, 1.95, 2.02, 2.34, 1.98});
    const QStringList recognise = {QStringLiteral("--id-prefix"), QStringLiteral("KS-")};
    // Six points cannot give a target and an SD.
    const CliResult few =
        Qc(QStringList{QStringLiteral("define"), QStringLiteral("KS")} + recognise +
           QStringList{QStringLiteral("--baseline-from"), QStringLiteral("2024-01-01"),
                       QStringLiteral("--baseline-to"), QStringLiteral("2024-01-31")});
    EXPECT_EQ(few.exitCode, 1);
    EXPECT_TRUE(few.err.startsWith(
        LoadResString(1736).arg(6).arg(QStringLiteral("2024-01-01 – 2024-01-31"))))
        << few.err.toStdString();
    for (const char* from : {"2024-01-01", "2024-01-04"}) {
        const CliResult v = Qc(
            QStringList{QStringLiteral("define"), QStringLiteral("KS")} + recognise +
            QStringList{QStringLiteral("--target"), QStringLiteral("2"), QStringLiteral("--sd"),
                        QStringLiteral("0.1"), QStringLiteral("--valid-from"), QLatin1String(from),
                        QStringLiteral("--rules"), QStringLiteral("1-3s,8x")});
        ASSERT_EQ(v.exitCode, 0) << v.err.toStdString();
    }
    const CliResult list =
        Qc({QStringLiteral("list"), QStringLiteral("--format"), QStringLiteral("tsv")});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QStringList rows = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("KS\t2024-01-04\t2\t0.1\t\t1-3s,8x\t\t\tprefix")))
        << rows[2].toStdString();
    // An SD of 0, an unknown rule, or two ways of recognising are usage errors.
    for (const QStringList& bad :
         {QStringList{QStringLiteral("--target"), QStringLiteral("2"), QStringLiteral("--sd"),
                      QStringLiteral("0")},
          QStringList{QStringLiteral("--target"), QStringLiteral("2"), QStringLiteral("--sd"),
                      QStringLiteral("1"), QStringLiteral("--rules"), QStringLiteral("11x")},
          QStringList{QStringLiteral("--target"), QStringLiteral("2"), QStringLiteral("--sd"),
                      QStringLiteral("1"), QStringLiteral("--id-equals"), QStringLiteral("K")}}) {
        EXPECT_EQ(Qc(QStringList{QStringLiteral("define"), QStringLiteral("KS")} + recognise + bad)
                      .exitCode,
                  2)
            << bad.join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(CliQcTest, LimitValuesAreVersionsPerProgram) {
    const auto limits = [](const QStringList& args) {
        return RunCli(QStringList{QStringLiteral("limits")} + args);
    };
    const CliResult set = limits(
        {QStringLiteral("set"), QStringLiteral("--program"), QStringLiteral("303"),
         QStringLiteral("--max"), QStringLiteral("50"), QStringLiteral("--unit"),
         QStringLiteral("mg/l"), QStringLiteral("--valid-from"), QStringLiteral("2024-01-01")});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_EQ(limits({QStringLiteral("set"), QStringLiteral("--program"), QStringLiteral("303"),
                      QStringLiteral("--min"), QStringLiteral("60"), QStringLiteral("--max"),
                      QStringLiteral("50")})
                  .exitCode,
              2);
    EXPECT_EQ(limits({QStringLiteral("set"), QStringLiteral("--program"), QStringLiteral("303")})
                  .exitCode,
              2);
    const CliResult list =
        limits({QStringLiteral("list"), QStringLiteral("--format"), QStringLiteral("json")});
    const QJsonArray rows = QJsonDocument::fromJson(list.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 1) << list.out.toStdString();
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("max")].toDouble(), 50.0);
    EXPECT_TRUE(rows[0].toObject()[QStringLiteral("min")].isNull());
}

// Program 303 at most 7 from 2 January: `archive query` says which first values are beyond,
// and leaves the field empty (JSON null) where no limits were in force yet.
TEST_F(CliQcTest, ArchiveQueryFlagsTheValuesBeyondTheLimits) {
    ArchiveControl({2.00, 6.00}); // records 1 and 2 on 1 January, 3 (6.00) and 4 (9.99) on the 2nd
    ASSERT_EQ(RunCli({QStringLiteral("limits"), QStringLiteral("set"), QStringLiteral("--program"),
                      QStringLiteral("303"), QStringLiteral("--max"), QStringLiteral("7"),
                      QStringLiteral("--valid-from"), QStringLiteral("2024-01-02")})
                  .exitCode,
              0);
    const CliResult json = RunCli({QStringLiteral("archive"), QStringLiteral("query"),
                                   QStringLiteral("--format"), QStringLiteral("json")});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    QMap<int, QJsonValue> beyond;
    for (const QJsonValue row : QJsonDocument::fromJson(json.out.toUtf8()).array()) {
        beyond[row[QStringLiteral("record_number")].toInt()] = row[QStringLiteral("beyond_limit")];
    }
    EXPECT_EQ(beyond, (QMap<int, QJsonValue>{
                          {1, QJsonValue::Null}, {2, QJsonValue::Null}, {3, false}, {4, true}}));
    const CliResult csv = RunCli({QStringLiteral("archive"), QStringLiteral("query")});
    QMap<QString, QString> fields; // the record number and the field before `valid`, the last
    for (const QString& line : csv.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList split = line.split(QLatin1Char(','));
        fields[split[3]] = split[split.size() - 2];
    }
    EXPECT_EQ(fields, (QMap<QString, QString>{
                          {QStringLiteral("record_number"), QStringLiteral("beyond_limit")},
                          {QStringLiteral("1"), QString()},
                          {QStringLiteral("2"), QString()},
                          {QStringLiteral("3"), QStringLiteral("0")},
                          {QStringLiteral("4"), QStringLiteral("1")}}));
}

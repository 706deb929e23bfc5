#include "app/Services.h"
#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QProcess>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <memory>

namespace {

// 400 photometer records of four programs with values over five decades, some texts, some
// values flagged over the range, some fields empty.
QString MakeDataset(const QString& path) {
    QRandomGenerator random(28);
    static const char* const programs[][2] = {
        {"310", "NO3-N"}, {"320", "PO4-P"}, {"340", "COD"}, {"95", "Cl2"}};
    QStringList lines;
    for (int i = 1; i <= 400; ++i) {
        const auto& p = programs[random.bounded(4)];
        const int kind = random.bounded(30);
        const QString value =
            kind == 0 ? QStringLiteral("<0.05")
            : kind == 1
                ? QString()
                : QString::number(random.bounded(1.0) * std::pow(10, i % 5), 'f', 3 - i % 4);
        const QString state = kind > 1 && kind < 6 ? QStringLiteral("> MR") : QStringLiteral("OK");
        lines << QStringLiteral("%1;%2.01.24;08:%3:00;7;%4;%5;;1:1;%6;mg/l;%7;;;;01.01.24;07:00")
                     .arg(i)
                     .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                     .arg(QLatin1String(p[0]), QLatin1String(p[1]), value, state);
    }
    ScriptedUi ui;
    Services services(ui, std::make_unique<ScriptedMeterLink>());
    const QString mvals =
        QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n!\r\n>");
    EXPECT_TRUE(services.measVal.SaveFile(mvals, QStringLiteral("Zentravox"), QStringLiteral("S"),
                                          QStringLiteral("U"), QDateTime::currentDateTime(), path));
    return path;
}

QStringList PythonRows(const QString& path, const QStringList& options) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(MERVEX_SOURCE_DIR "/tests/cli/stats_check.py"), path,
                             QStringLiteral("9")} +
                     options);
    EXPECT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// A figure of ours rounded to 6 significant digits as Python prints them.
QString Six(const QString& field) {
    return field.isEmpty() ? field : QString::asprintf("%.6g", field.toDouble());
}

} // namespace

TEST(CliStats, AgreesWithPythonsStatisticsToSixDigits) {
    TempDir dir;
    const QString path = MakeDataset(dir.file("data.csv"));
    QStringList outputs;
    // Every value with the flagged ones counted apart, then only the OK values.
    for (const QStringList& options : {QStringList{}, QStringList{"--ok-only"}}) {
        const CliResult r = RunCli(QStringList{"stats", path, "--column", "9"} + options);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        outputs << r.out;
        QStringList ours = r.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(ours.isEmpty());
        EXPECT_EQ(ours.takeFirst().split('\t').mid(0, 5),
                  (QStringList{"Programme", "Nom", "Unité", "n", "dont signalées"}));
        const QStringList python = PythonRows(path, options);
        ASSERT_EQ(ours.size(), python.size());
        EXPECT_EQ(ours.size(), 4);
        for (int i = 0; i < ours.size(); ++i) {
            const QStringList f = ours[i].split('\t');
            ASSERT_EQ(f.size(), 13) << ours[i].toStdString();
            QStringList mine = f.mid(0, 5);
            for (int c = 5; c < 10; ++c) {
                mine << Six(f[c]);
            }
            mine << f[10];
            EXPECT_EQ(mine.join('\t'), python[i]);
        }
    }
    EXPECT_NE(outputs[0], outputs[1]);
    // The default column is the first value, the same as --column 9; options in any order.
    EXPECT_EQ(RunCli({"stats", path}).out, outputs[0]);
    EXPECT_EQ(RunCli({"stats", path, "--ok-only", "--column", "9"}).out, outputs[1]);
}

TEST(CliStats, RefusesAColumnOutsideTheLayout) {
    TempDir dir;
    const QString path = MakeDataset(dir.file("data.csv"));
    EXPECT_EQ(RunCli({"stats", path, "--column", "17"}).exitCode, 2);
    EXPECT_EQ(RunCli({"stats", path, "--colum", "9"}).exitCode, 2);
    EXPECT_EQ(RunCli({"stats", path, "--ok-only", "--ok-only"}).exitCode, 2);
    EXPECT_EQ(RunCli({"stats", path, "--column"}).exitCode, 2);
    const CliResult missing = RunCli({"stats", dir.file("none.csv")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, LoadResString(1180) + QLatin1Char('\n'));
}

#include "app/Services.h"
#include "support/CliRunner.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The column where the description of a usage line starts; -1 for a line without one.
int DescriptionColumn(const QString& line) {
    static const QRegularExpression synopsis(QStringLiteral("^  \\S.*?\\S {2,}(\\S)"));
    static const QRegularExpression continuation(QStringLiteral("^ {3,}(\\S)"));
    QRegularExpressionMatch m = continuation.match(line);
    if (m.hasMatch()) {
        return static_cast<int>(m.capturedStart(1));
    }
    m = synopsis.match(line);
    return m.hasMatch() ? static_cast<int>(m.capturedStart(1)) : -1;
}

// mervex-cli as a user's shell starts it, without a runtime folder.
CliResult RunWithoutRuntimeDir(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(CliPath(), args);
    CliResult result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace

TEST(CliHelp, EveryDescriptionStartsInOneColumn) {
    const CliResult help = RunCli({QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    const QStringList lines = help.out.section(QStringLiteral("commands:\n"), 1).split('\n');
    QList<int> columns;
    int continued = 0;
    for (const QString& line : lines) {
        const int column = DescriptionColumn(line);
        if (column >= 0) {
            columns << column;
            continued += line.startsWith(QStringLiteral("   ")) ? 1 : 0;
        }
    }
    ASSERT_GE(columns.size(), 12) << help.out.toStdString();
    EXPECT_GE(continued, 3) << "descriptions that go on over several lines";
    for (int column : columns) {
        EXPECT_EQ(column, columns.front()) << help.out.toStdString();
    }
    // Not pushed to the right by a long synopsis: that one stands on its own line.
    EXPECT_LE(columns.front(), 40) << help.out.toStdString();
    // Every synopsis starts a line, also a command's second and third.
    for (const char* synopsis : {"programs get NUM OUT.csv ", "programs delete NUM | --all ",
                                 "protocol print IN.csv", "print IN.csv OUT.pdf", "strings "}) {
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  ") + QLatin1String(synopsis)))
            << synopsis;
    }
}

TEST(CliHelp, NoQtStartUpNoiseWithoutARuntimeFolder) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("strings")}}) {
        const CliResult r = RunWithoutRuntimeDir(args);
        EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_EQ(r.err, QString()) << args.join(' ').toStdString();
    }
    // Printing starts a GUI application (fonts) on the offscreen platform.
    TempDir dir;
    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
    MValSet set;
    set.strMeter = QStringLiteral("Ardel 20 IR");
    set.strSerNo = QStringLiteral("A20-0815");
    set.strUser = QStringLiteral("Lab");
    set.curDate = QDateTime(QDate(2024, 7, 12), QTime(8, 4, 3));
    set.strMVals = QStringLiteral("\r\n1;12/07/24;09:05;7;4.2;NTU;OK;;1/1/26;8:00\r\n!\r\n>");
    ASSERT_TRUE(services.measVal.SaveFile(set, dir.file(QStringLiteral("in.csv"))));
    const CliResult print =
        RunWithoutRuntimeDir({QStringLiteral("print"), dir.file(QStringLiteral("in.csv")),
                              dir.file(QStringLiteral("out.pdf"))});
    EXPECT_EQ(print.exitCode, 0);
    EXPECT_EQ(print.err, QString());
}

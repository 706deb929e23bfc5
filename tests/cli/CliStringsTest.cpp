#include "app/TextTables.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

TEST(CliStrings, PrintsTheWholeTableAscendingAsUtf8) {
    const CliResult r = RunCli({QStringLiteral("strings")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    const StringTable& table = TextTables::Active();
    const int count = static_cast<int>(table.Numbers().size());
    ASSERT_GE(count, 226);
    ASSERT_EQ(lines.size(), count + 1); // one line per string, each ended by a line feed
    EXPECT_TRUE(lines.back().isEmpty());
    int previous = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype tab = lines[i].indexOf(QLatin1Char('\t'));
        ASSERT_GT(tab, 0) << lines[i].toStdString();
        const int number = lines[i].left(tab).toInt();
        EXPECT_GT(number, previous);
        previous = number;
        EXPECT_EQ(lines[i].mid(tab + 1), table.Text(number));
    }
    EXPECT_TRUE(r.out.contains(QStringLiteral(
        "1148\tExporter les mesures dans un classeur .xlsx ou une feuille .xls \n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("1064\tNuméro de série:\n")));
}

TEST(CliStrings, HelpAndUsageErrors) {
    const CliResult help = RunCli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("usage: mervex-cli")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("strings")));

    const CliResult unknown = RunCli({QStringLiteral("frobnicate")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("usage:")));
    EXPECT_TRUE(unknown.out.isEmpty());

    EXPECT_EQ(RunCli({}).exitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("--bogus"), QStringLiteral("strings")}).exitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("strings"), QStringLiteral("extra")}).exitCode, 2);
}

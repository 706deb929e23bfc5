#include "app/Paths.h"

#include "app/Twips.h"
#include "support/QtPrint.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(Paths, ProgramFolderIsBesideTheProgramOrInTheInstalledShareFolder) {
    TempDir root;
    QDir().mkpath(root.file("bin"));
    QDir().mkpath(root.file("share/mervex"));
    // Installed: nothing beside the program, the resources in ../share/mervex.
    WriteBytes(root.file("share/mervex/Settings.ini"), "[General]\n");
    EXPECT_EQ(ProgramDirFor(root.file("bin")), QDir::cleanPath(root.file("share/mervex")));
    // Built: the resources were copied beside the program, which wins.
    WriteBytes(root.file("bin/Settings.ini"), "[General]\n");
    EXPECT_EQ(ProgramDirFor(root.file("bin")), root.file("bin"));
    // Neither: the program's own folder, so a missing Settings.ini gives every default.
    QDir().mkpath(root.file("x/other"));
    EXPECT_EQ(ProgramDirFor(root.file("x/other")), root.file("x/other"));
}

TEST(Paths, SettingsBesideTheProgramThenTheAdministratorsThenTheShareFolder) {
    TempDir root;
    const QString bin = root.file("usr/bin");
    for (const char* dir : {"usr/bin", "usr/share/mervex", "etc/mervex"}) {
        QDir().mkpath(root.file(dir));
    }
    WriteBytes(root.file("usr/share/mervex/Settings.ini"), "[General]\n");
    EXPECT_EQ(SettingsIniPathFor(bin), QDir::cleanPath(root.file("usr/share/mervex/Settings.ini")));
    // The administrator's copy of a /usr installation lives in /etc/mervex, outside the prefix.
    WriteBytes(root.file("etc/mervex/Settings.ini"), "[General]\n");
    EXPECT_EQ(SettingsIniPathFor(bin), root.file("etc/mervex/Settings.ini"));
    WriteBytes(root.file("usr/bin/Settings.ini"), "[General]\n");
    EXPECT_EQ(SettingsIniPathFor(bin), root.file("usr/bin/Settings.ini"));
    // Any other prefix keeps its configuration inside: /usr/local/etc/mervex, /opt/x/etc/mervex.
    EXPECT_EQ(ConfigDirFor("/usr/local/bin"), QStringLiteral("/usr/local/etc/mervex"));
    EXPECT_EQ(ConfigDirFor("/usr/bin"), QStringLiteral("/etc/mervex"));
}

TEST(Paths, JoinUsesExactlyOneSeparator) {
    EXPECT_EQ(JoinPath("/data", "a.csv"), QStringLiteral("/data/a.csv"));
    EXPECT_EQ(JoinPath("/data/", "a.csv"), QStringLiteral("/data/a.csv"));
    EXPECT_EQ(JoinPath("/", "a.csv"), QStringLiteral("/a.csv"));
    EXPECT_EQ(JoinPath("", "a.csv"), QStringLiteral("a.csv"));
}

TEST(Twips, ConvertAtTheLogicalResolution) {
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(6500, 96), 433);
    EXPECT_EQ(PixelsToTwips(433, 96), 6495);
    EXPECT_EQ(PixelsToTwips(96, 120), 1152);
    EXPECT_EQ(PixelsToTwips(10, 0), 0);
}

#include "app/CIni.h"

#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

QString Lookup(const QString& text, const QString& section, const QString& key,
               const QString& fallback = QStringLiteral("dflt"), int nSize = 256) {
    return LookupIniValue(text, section, key, fallback, nSize);
}

} // namespace

TEST(CIni, NamesIgnoreCaseAndValuesAreTrimmed) {
    const QString ini =
        QStringLiteral("[general]\r\n  onlyardel60 =  True  \r\nManufacturer=3\r\n");
    EXPECT_EQ(Lookup(ini, "General", "OnlyArdel60"), QStringLiteral("True"));
    EXPECT_EQ(Lookup(ini, "GENERAL", "MANUFACTURER"), QStringLiteral("3"));
    EXPECT_EQ(Lookup(ini, "General", "Missing"), QStringLiteral("dflt"));
    EXPECT_EQ(Lookup(ini, "About", "AppName", "Mervex"), QStringLiteral("Mervex"));
}

TEST(CIni, FirstSectionAndFirstKeyWinAndQuotesAreStripped) {
    const QString ini = QStringLiteral(
        "[About]\nAppName=\"Lab Suite\"\nAppName=Second\n[Other]\nMail=x\n[About]\nMail=late\n");
    EXPECT_EQ(Lookup(ini, "About", "AppName"), QStringLiteral("Lab Suite"));
    // A later section of the same name is not read.
    EXPECT_EQ(Lookup(ini, "About", "Mail"), QStringLiteral("dflt"));
    EXPECT_EQ(Lookup(ini, "Other", "Mail"), QStringLiteral("x"));
    // A key outside any section does not count.
    EXPECT_EQ(Lookup(QStringLiteral("Mail=y\n"), "About", "Mail"), QStringLiteral("dflt"));
    // An empty value is a value, not the default.
    EXPECT_EQ(Lookup(QStringLiteral("[About]\nInternet=\n"), "About", "Internet"), QString());
}

TEST(CIni, ResultIsCutToBufferSizeMinusOne) {
    const QString longValue(300, QLatin1Char('x'));
    const QString ini = QStringLiteral("[About]\nDisclaimer=") + longValue + QStringLiteral("\n");
    EXPECT_EQ(Lookup(ini, "About", "Disclaimer").size(), 255);
    EXPECT_EQ(Lookup(ini, "About", "Disclaimer", "", 10), QString(9, QLatin1Char('x')));
    EXPECT_EQ(Lookup(ini, "About", "Disclaimer", "", 1), QString());
    EXPECT_EQ(Lookup(ini, "About", "Nothing", QString(400, QLatin1Char('d'))).size(), 255);
    // Trailing blanks of the default are dropped.
    EXPECT_EQ(Lookup(ini, "About", "Nothing", QStringLiteral("ab  ")), QStringLiteral("ab"));
}

TEST(CIni, MissingFileGivesDefaultAndSettingsAreComparedExactly) {
    ScriptedUi ui;
    CIni ini(ui);
    TempDir dir;
    EXPECT_EQ(ini.GetIniString("General", "OnlyArdel60", "False", dir.file("none.ini"), 256),
              QStringLiteral("False"));

    const QString path = dir.file("Settings.ini");
    WriteBytes(path, "[General]\r\nOnlyArdel60=true\r\nManufacturer=\xE9t\xE9\r\n");
    EXPECT_EQ(ini.GetIniString("General", "OnlyArdel60", "False", path, 256),
              QStringLiteral("true"));
    // Windows-1252 bytes decode to their characters.
    EXPECT_EQ(ini.GetIniString("General", "Manufacturer", "0", path, 256), QStringLiteral("été"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(CIni, ASettingsFileSavedAsUtf8ReadsItsAccents) {
    ScriptedUi ui;
    CIni ini(ui);
    TempDir dir;
    const QString path = dir.file("Settings.ini");
    // A Linux editor writes UTF-8 without a byte order mark and LF line ends.
    WriteBytes(path, "[About]\nAppName=Qualit\xC3\xA9 \xE2\x82\xAC\n");
    EXPECT_EQ(ini.GetIniString("About", "AppName", "", path, 256), QStringLiteral("Qualité €"));
    WriteBytes(path, "\xEF\xBB\xBF[About]\r\nAppName=Qualit\xC3\xA9\r\n");
    EXPECT_EQ(ini.GetIniString("about", "AppName", "", path, 256), QStringLiteral("Qualité"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(CIni, OnlyArdel60NeedsExactlyTrue) {
    ScriptedUi ui;
    CIni ini(ui);
    TempDir dir;
    const QByteArray programDir = qgetenv("MERVEX_PROGRAM_DIR");
    qputenv("MERVEX_PROGRAM_DIR", dir.path().toLocal8Bit());
    const QString path = dir.file("Settings.ini");
    const QList<std::pair<QByteArray, bool>> cases = {
        {"[General]\nOnlyArdel60=True\n", true},      {"[General]\nOnlyArdel60=true\n", false},
        {"[General]\nOnlyArdel60=TRUE\n", false},     {"[General]\nOnlyArdel60= True \n", true},
        {"[General]\nOnlyArdel60=True!\n", false},    {"[About]\nAppName=X\n", false},
        {"[General]\nOnlyArdel60=\" True\"\n", false}};
    for (const auto& [content, expected] : cases) {
        WriteBytes(path, content);
        EXPECT_EQ(ini.OnlyArdel60(), expected) << content.constData();
    }
    qputenv("MERVEX_PROGRAM_DIR", programDir);
}

#include "app/Errors.h"
#include "app/TextTables.h"

#include <algorithm>
#include <gtest/gtest.h>

TEST(StringTable, BuiltInFrenchTableKeepsTextsExactly) {
    const StringTable& t = TextTables::Active();
    EXPECT_EQ(t.Text(1000), QStringLiteral("&Fichier"));
    EXPECT_EQ(t.Text(1148),
              QStringLiteral("Exporter les mesures dans un classeur .xlsx ou une feuille .xls "));
    EXPECT_EQ(t.Text(1196), QStringLiteral("Forme de citation  (9 caractères)"));
    EXPECT_EQ(t.Text(1212),
              QStringLiteral("La plage de mesure du Zentravox (-0,2 E à 2,0 E) est dépassée!"));
    EXPECT_EQ(t.Text(1245), QStringLiteral("Pas de Ardel 60 reconnu!"));
    EXPECT_EQ(LoadResString(1062), QStringLiteral("hors ligne"));
}

TEST(StringTable, UnassignedNumbersAreRunTimeErrors) {
    const StringTable& t = TextTables::Active();
    const QList<int> unassigned = {1017, 1027, 1029, 1030, 1032, 1034, 1035, 1053,
                                   1056, 1057, 1087, 1089, 1090, 1091, 1093, 1101,
                                   1116, 1118, 1140, 1163, 999,  1289, 20,   21};
    for (int n : unassigned) {
        EXPECT_THROW(LoadResString(n), MervexError) << n;
        EXPECT_FALSE(t.Find(n).has_value()) << n;
    }
    // 1000..1245 without the twenty gaps; the program's own texts come after 1245.
    const QList<int> numbers = t.Numbers();
    EXPECT_EQ(std::count_if(numbers.begin(), numbers.end(), [](int n) { return n <= 1245; }), 226);
    EXPECT_EQ(numbers.front(), 1000);
}

TEST(StringTable, AnotherLanguageTableReplacesTheBuiltInOne) {
    const StringTable english =
        StringTable::FromText(QStringLiteral("1000\t&File\r\n1062\toffline \n\nbad line\n"));
    EXPECT_EQ(english.Text(1000), QStringLiteral("&File"));
    EXPECT_EQ(english.Text(1062), QStringLiteral("offline "));
    EXPECT_EQ(english.Numbers().size(), 2);
    EXPECT_FALSE(english.Find(1001).has_value());
}

// No table is there to word the failure to read one: the report is the loader's own text,
// and it names the file.
TEST(StringTable, AnUnreadableTableIsReportedWithoutTheTables) {
    const QString missing = QStringLiteral("/nonexistent/mervex-strings.txt");
    qputenv("MERVEX_STRINGS", missing.toUtf8());
    TextTables::Reload();
    try {
        TextTables::Active();
        ADD_FAILURE() << "an unreadable table was read";
    } catch (const MervexError& e) {
        EXPECT_TRUE(e.Description().startsWith(QStringLiteral("Mervex ne peut pas lire")))
            << e.Description().toStdString();
        EXPECT_TRUE(e.Description().contains(missing));
    }
    qunsetenv("MERVEX_STRINGS");
    TextTables::Reload();
    EXPECT_EQ(LoadResString(1062), QStringLiteral("hors ligne"));
}

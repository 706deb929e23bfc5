#include "app/Language.h"

#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "support/TempDir.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Switches the program's language for one test and back to the suite's French.
class LanguageScope {
public:
    explicit LanguageScope(const QString& language) { Language::Use(language); }
    ~LanguageScope() { Language::Use(Language::kFrench); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;
};

QSet<QString> Placeholders(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%\\d"));
    QSet<QString> found;
    for (auto it = marker.globalMatch(text); it.hasNext();) {
        found.insert(it.next().captured());
    }
    return found;
}

// Both tables hold the same numbers, and each text keeps the French one's placeholders,
// access key and outer blanks (string 1148 ends with a blank, 1196 has two inside).
void ExpectSameShape(const StringTable& french, const StringTable& english) {
    ASSERT_EQ(english.Numbers(), french.Numbers());
    for (const int n : french.Numbers()) {
        const QString fr = french.Text(n);
        const QString en = english.Text(n);
        EXPECT_FALSE(en.isEmpty()) << n;
        EXPECT_EQ(Placeholders(en), Placeholders(fr)) << n;
        EXPECT_EQ(en.contains(QLatin1Char('&')), fr.contains(QLatin1Char('&'))) << n;
        EXPECT_EQ(en.endsWith(QLatin1Char(' ')), fr.endsWith(QLatin1Char(' '))) << n;
        EXPECT_EQ(en.startsWith(QLatin1Char(' ')), fr.startsWith(QLatin1Char(' '))) << n;
    }
}

QString SourceText(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

// The string literals of a C++ source, comments left out.
QStringList Literals(const QString& code) {
    QStringList found;
    const qsizetype n = code.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (code.mid(i, 2) == QLatin1String("//")) {
            i = code.indexOf(QLatin1Char('\n'), i);
            if (i < 0) {
                break;
            }
        } else if (code.mid(i, 2) == QLatin1String("/*")) {
            i = code.indexOf(QLatin1String("*/"), i) + 1;
        } else if (code[i] == QLatin1Char('"') || code[i] == QLatin1Char('\'')) {
            const QChar quote = code[i];
            qsizetype j = i + 1;
            while (j < n && code[j] != quote) {
                j += code[j] == QLatin1Char('\\') ? 2 : 1;
            }
            if (quote == QLatin1Char('"')) {
                found << code.mid(i + 1, j - i - 1);
            }
            i = j;
        }
    }
    return found;
}

QStringList SourceFiles(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << it.next();
    }
    return files;
}

} // namespace

TEST(Language, SettingThenDesktopThenFrench) {
    using Language::Choose;
    const QString fr = Language::kFrench;
    const QString en = Language::kEnglish;
    EXPECT_EQ(Choose(QStringLiteral("en"), {QStringLiteral("fr-FR")}), en);
    EXPECT_EQ(Choose(QStringLiteral(" EN "), {}), en);
    EXPECT_EQ(Choose(QStringLiteral("fr"), {QStringLiteral("en-US")}), fr);
    // A setting without a table falls back on the desktop.
    EXPECT_EQ(Choose(QStringLiteral("de"), {QStringLiteral("en-GB")}), en);
    EXPECT_EQ(Choose(QString(), {QStringLiteral("en-US"), QStringLiteral("en")}), en);
    EXPECT_EQ(Choose(QString(), {QStringLiteral("fr-FR")}), fr);
    EXPECT_EQ(Choose(QString(), {QStringLiteral("fr_FR.UTF-8")}), fr);
    // The C locale, a language without a table and no desktop at all: the build's French.
    EXPECT_EQ(Choose(QString(), {QStringLiteral("C")}), fr);
    EXPECT_EQ(Choose(QString(), {QStringLiteral("de-DE"), QStringLiteral("en-US")}), fr);
    EXPECT_EQ(Choose(QString(), {}), fr);
}

TEST(Language, SettingsIniLanguageKey) {
    TempDir dir;
    QFile ini(dir.file(QStringLiteral("Settings.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[General]\r\nOnlyArdel60=False\r\nLanguage=en\r\n");
    ini.close();
    const QByteArray saved = qgetenv("MERVEX_PROGRAM_DIR");
    qputenv("MERVEX_PROGRAM_DIR", dir.path().toLocal8Bit());
    EXPECT_EQ(Language::Setting(), QStringLiteral("en"));
    qputenv("MERVEX_PROGRAM_DIR", saved);
    // The shipped settings fix no language.
    EXPECT_EQ(Language::Setting(), QString());
}

TEST(Language, EnglishTableIsCompleteAndShapedLikeTheFrenchOne) {
    const StringTable french = TextTables::BuiltIn();
    const StringTable english = TextTables::ForLanguage(Language::kEnglish);
    ExpectSameShape(french, english);
    EXPECT_EQ(english.Text(1000), QStringLiteral("&File"));
    EXPECT_EQ(english.Text(1062), QStringLiteral("offline"));
    EXPECT_TRUE(english.Text(1148).endsWith(QLatin1Char(' ')));
    EXPECT_TRUE(english.Text(1196).contains(QLatin1String("  (")));
    // The help page of each language.
    EXPECT_EQ(english.Text(1215), QStringLiteral("MervexHlp_e.chm"));
    EXPECT_EQ(french.Text(1215), QStringLiteral("MervexHlp_f.chm"));
}

TEST(Language, EveryRunTimeErrorHasATextInBothLanguages) {
    const StringTable french = TextTables::RunTimeTextsFor(Language::kFrench);
    const StringTable english = TextTables::RunTimeTextsFor(Language::kEnglish);
    QList<int> numbers;
    for (const RtError e : kAllRunTimeErrors) {
        numbers << static_cast<int>(e);
    }
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(french.Numbers(), numbers);
    ExpectSameShape(french, english);
    // The wording users of the classic run-time know.
    EXPECT_EQ(french.Text(6), QStringLiteral("Dépassement de capacité"));
    EXPECT_EQ(french.Text(13), QStringLiteral("Incompatibilité de type"));
    EXPECT_EQ(french.Text(9), QStringLiteral("L'indice n'appartient pas à la sélection"));
    EXPECT_EQ(french.Text(11), QStringLiteral("Division par zéro"));
    EXPECT_EQ(french.Text(5), QStringLiteral("Argument ou appel de procédure incorrect"));
    EXPECT_EQ(french.Text(53), QStringLiteral("Fichier introuvable"));
    EXPECT_EQ(french.Text(70), QStringLiteral("Permission refusée"));
    EXPECT_EQ(english.Text(6), QStringLiteral("Overflow"));
}

TEST(Language, UseSwitchesStringsAndRunTimeTexts) {
    EXPECT_EQ(LoadResString(1033), QStringLiteral("Erreur"));
    EXPECT_EQ(RunTimeText(RtError::DivisionByZero), QStringLiteral("Division par zéro"));
    {
        LanguageScope english(Language::kEnglish);
        EXPECT_EQ(Language::Active(), Language::kEnglish);
        EXPECT_EQ(LoadResString(1033), QStringLiteral("Error"));
        EXPECT_EQ(RunTimeText(RtError::DivisionByZero), QStringLiteral("Division by zero"));
        EXPECT_EQ(RunTimeError(RtError::Overflow, QStringLiteral("99999")).Description(),
                  QStringLiteral("Overflow: 99999"));
    }
    EXPECT_EQ(LoadResString(1033), QStringLiteral("Erreur"));
    // An unassigned number is itself a run-time error, worded in the program's language.
    try {
        (void)LoadResString(1017);
        ADD_FAILURE() << "1017 is unassigned";
    } catch (const MervexError& e) {
        EXPECT_EQ(e.Description(),
                  QStringLiteral("La ressource avec l'identificateur '1017' est introuvable"));
    }
}

TEST(Language, FileErrorsNameTheRunTimeErrorAndTheSystemsReason) {
    TempDir dir;
    QFile missing(dir.file(QStringLiteral("none.csv")));
    EXPECT_FALSE(missing.open(QIODevice::ReadOnly));
    EXPECT_EQ(FileErrorNumber(missing.fileName(), missing, false), RtError::FileNotFound);
    const QString text = FileError(missing.fileName(), missing, false).Description();
    EXPECT_TRUE(text.startsWith(missing.fileName() + QStringLiteral(": Fichier introuvable (")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QLatin1Char(')')));

    QFile noFolder(dir.file(QStringLiteral("gone/x.csv")));
    EXPECT_FALSE(noFolder.open(QIODevice::WriteOnly));
    EXPECT_EQ(FileErrorNumber(noFolder.fileName(), noFolder, true), RtError::PathNotFound);

    // A folder where a file should be: neither missing nor forbidden.
    QFile folder(dir.path());
    EXPECT_FALSE(folder.open(QIODevice::WriteOnly));
    EXPECT_EQ(FileErrorNumber(folder.fileName(), folder, true), RtError::PathFileAccess);
}

TEST(Language, EveryStringNumberInTheCodeExistsInBothTables) {
    const StringTable french = TextTables::BuiltIn();
    const StringTable english = TextTables::ForLanguage(Language::kEnglish);
    // The places where the code names a string: lookups, messages, design Tags and tool
    // tips ("1026"), menu items, tool bar keys, status panels and table columns.
    static const QRegularExpression use(QStringLiteral(
        R"re((?:LoadResString|Find|Report|ReportError|ReportFailure|LabelLine|SaveAsRequest|)re"
        R"re(Fail|Finish|Menu|Item)\((?:[^()]*,\s*)?(1\d{3})\b|"(1\d{3})"|)re"
        R"re(\{"\w+",\s*(1\d{3})\}|\{(1\d{3}),\s*"|\?\s*(1\d{3})\s*:\s*(1\d{3}))re"));
    QSet<int> used;
    for (const QString& path : SourceFiles(QStringLiteral(MERVEX_SOURCE_DIR "/src"))) {
        // Comments quote texts and figures ("1500") that are no string numbers.
        static const QRegularExpression comment(QStringLiteral("//[^\n]*"));
        const QString code = SourceText(path).remove(comment);
        for (auto it = use.globalMatch(code); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            for (int g = 1; g <= m.lastCapturedIndex(); ++g) {
                if (!m.captured(g).isEmpty()) {
                    used.insert(m.captured(g).toInt());
                }
            }
        }
    }
    EXPECT_GT(used.size(), 200); // the walk found the code's strings at all
    for (const int n : used) {
        EXPECT_TRUE(french.Find(n).has_value()) << n;
        EXPECT_TRUE(english.Find(n).has_value()) << n;
    }
}

TEST(Language, NoUserVisibleEnglishLiteralInTheSources) {
    // Two words of running English ("cannot be opened", "Division by zero") in a literal;
    // model names and meter texts start their second word with a capital or a digit.
    static const QRegularExpression prose(QStringLiteral("[A-Za-z]{2,} +[a-z]{2,}"));
    // An error or message written straight into the code instead of taken from a table.
    static const QRegularExpression direct(QStringLiteral(
        R"re((?:MervexError|ReportError|Message)\(\s*(?:\w+,\s*)?QStringLiteral\("[^"]*[A-Za-z])re"));
    QStringList offenders;
    int files = 0;
    for (const QString& path : SourceFiles(QStringLiteral(MERVEX_SOURCE_DIR "/src"))) {
        // The command lines' own usage lines (mervex-cli's, the desktop program's --help)
        // are for scripts, like their option names; a table of texts that cannot be read
        // is reported in words of the loader's own, since no table is there to give them.
        if (path.contains(QLatin1String("/src/cli/")) ||
            path.endsWith(QLatin1String("/src/core/app/TextTables.cpp")) ||
            path.endsWith(QLatin1String("/src/ui/shell/CommandLine.cpp"))) {
            continue;
        }
        ++files;
        const QString code = SourceText(path);
        for (const QString& literal : Literals(code)) {
            // SQL statements (the archive's) speak to the database engine, not to a user.
            static const QRegularExpression sql(
                QStringLiteral("\\b(SELECT|INSERT INTO|UPDATE|CREATE (TABLE|INDEX)|FROM|JOIN|NOT "
                               "NULL|VALUES|PRAGMA|ALTER TABLE|DROP (TABLE|INDEX)|CONSTRAINT|ON "
                               "CONFLICT|WHERE|CHECK|AND|ORDER "
                               "BY|RETURNING|SAVEPOINT|TRIGGER|FUNCTION|RAISE)\\b"));
            if (sql.match(literal).hasMatch()) {
                continue;
            }
            if (prose.match(literal).hasMatch()) {
                offenders << path + QStringLiteral(": \"") + literal + QLatin1Char('"');
            }
        }
        if (direct.match(code).hasMatch()) {
            offenders << path + QStringLiteral(": ") + direct.match(code).captured();
        }
    }
    EXPECT_GT(files, 100);
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(QLatin1Char('\n')).toStdString();
}

// Dates and numbers follow the program's language, whatever the process locale says; a
// desktop locale of that same language keeps its own habits.
TEST(Language, FormatsFollowTheProgramsLanguage) {
    const QDate date(2024, 3, 11);
    EXPECT_EQ(Language::FormatLocale(Language::kFrench, QLocale::c())
                  .toString(date, QLocale::ShortFormat),
              QStringLiteral("11/03/2024"));
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(Language::FormatLocale(Language::kEnglish, german).language(), QLocale::English);
    EXPECT_EQ(Language::FormatLocale(Language::kFrench, german).decimalPoint(),
              QStringLiteral(","));
    const QLocale swiss(QLocale::French, QLocale::Switzerland);
    EXPECT_EQ(Language::FormatLocale(Language::kFrench, swiss), swiss);
}

#pragma once

#include <QHash>
#include <QString>
#include <optional>

// The table of localised texts, addressed by number. The build carries the French and the
// English table as resources; another table is a UTF-8 file of NUMBER<TAB>TEXT lines.
class StringTable {
public:
    // Parses NUMBER<TAB>TEXT lines; texts are kept exactly, blanks included.
    static StringTable FromText(const QString& text);
    // The build's own table: French.
    static StringTable BuiltIn();
    // The built-in table of a language of Language::Available().
    static StringTable ForLanguage(const QString& language);
    // The table in use: MERVEX_STRINGS names a table file, else the built-in table of the
    // program's language (Language::Active).
    static const StringTable& Active();
    static void SetActive(StringTable table);
    // The run-time error texts of the program's language, addressed by error number.
    static const StringTable& RunTimeTexts();
    static StringTable RunTimeTextsFor(const QString& language);
    // Forgets the active tables so the next use reads them for the current language.
    static void Reload();

    // Throws MervexError for an unassigned number.
    QString Text(int number) const;
    std::optional<QString> Find(int number) const;
    QList<int> Numbers() const; // ascending

private:
    QHash<int, QString> m_texts;
};

// Shorthand for StringTable::Active().Text(number).
QString LoadResString(int number);

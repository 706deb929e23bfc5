#pragma once

#include <QHash>
#include <QString>
#include <optional>

// The table of localised texts, addressed by number. The build carries the French
// table as a resource; another language's table is a UTF-8 file of NUMBER<TAB>TEXT lines.
class StringTable {
public:
    // Parses NUMBER<TAB>TEXT lines; texts are kept exactly, blanks included.
    static StringTable FromText(const QString& text);
    static StringTable BuiltIn();
    // The table in use: MERVEX_STRINGS names a table file, else the built-in French one.
    static const StringTable& Active();
    static void SetActive(StringTable table);

    // Throws MervexError for an unassigned number.
    QString Text(int number) const;
    std::optional<QString> Find(int number) const;
    QList<int> Numbers() const; // ascending

private:
    QHash<int, QString> m_texts;
};

// Shorthand for StringTable::Active().Text(number).
QString LoadResString(int number);

#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// A table of localised texts, addressed by number: a plain lookup. Where the tables come
// from and which one is in use is TextTables' business.
class StringTable {
public:
    // Parses NUMBER<TAB>TEXT lines; texts are kept exactly, blanks included.
    static StringTable FromText(const QString& text);

    std::optional<QString> Find(int number) const;
    // The text of `number`, empty when it is unassigned.
    QString Text(int number) const { return Find(number).value_or(QString()); }
    QList<int> Numbers() const; // ascending

private:
    QHash<int, QString> m_texts;
};

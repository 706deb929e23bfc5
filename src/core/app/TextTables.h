#pragma once

#include "app/StringTable.h"

#include <QString>

// The program's tables of texts: the build carries a French and an English string table and
// a table of run-time error texts for each, as resources; MERVEX_STRINGS may name a UTF-8
// string table file instead. A table that cannot be read is reported with a fixed text of its
// own, since no table is there to word it (and the report must not need the table it failed
// to read).
namespace TextTables {

// The build's own string table: French.
StringTable BuiltIn();
// The built-in string table of a language of Language::Available().
StringTable ForLanguage(const QString& language);
// The string table in use: MERVEX_STRINGS names a table file, else the built-in table of the
// program's language (Language::Active).
const StringTable& Active();
void SetActive(StringTable table);
// The run-time error texts of the program's language, addressed by error number.
const StringTable& RunTimeTexts();
StringTable RunTimeTextsFor(const QString& language);
// Forgets the tables in use so the next use reads them for the current language.
void Reload();

} // namespace TextTables

// The text of `number` in the string table in use; throws MervexError (run-time error 326,
// naming the number) when the number is unassigned.
QString LoadResString(int number);

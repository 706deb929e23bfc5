#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The program's language: "fr" (the build's own) or "en". Settings.ini [General] Language
// decides when it names a language with a table; else the desktop's language when a table
// exists for it; else French, so a desktop in a language without a table (or the C locale)
// sees exactly the French program.
namespace Language {

inline const QString kFrench = QStringLiteral("fr");
inline const QString kEnglish = QStringLiteral("en");

// The languages with a string table and a table of run-time texts.
QStringList Available();
// `setting` is the Settings.ini value, `desktop` the desktop's preferred languages in
// order (as QLocale::uiLanguages gives them, e.g. "fr-FR", "en-US", "C").
QString Choose(const QString& setting, const QStringList& desktop);
// The desktop's preferred languages.
QStringList Desktop();
// Settings.ini [General] Language, empty when the file or the key is missing.
QString Setting();

// The language in use: chosen once from Settings.ini and the desktop, until Use changes it.
QString Active();
// Switches the string table, the run-time texts and Qt's own texts to `language`.
void Use(const QString& language);

// The locale whose numbers the program writes for `language` (and Qt's date fields take
// their month names from): the desktop's own when it speaks that language, else the
// language's usual one, so that a C or German desktop never mixes its habits into French
// or English. Dates themselves have one form per language (DateText.h).
QLocale FormatLocale(const QString& language, const QLocale& desktop);
// Makes FormatLocale of the active language the default of every number text.
void UseFormats();

// Loads Qt's own translation (standard buttons, file dialogs, input box, MDI menus) for the
// active language into the running application; false when it cannot be found.
bool InstallQtTranslation();

} // namespace Language

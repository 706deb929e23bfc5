#pragma once

#include <QString>

class Ui;

// Reads keys of an INI file the way the classic private-profile functions do:
// section and key names without regard to letter case, values trimmed and stripped of
// one pair of enclosing quotes, the first occurrence wins, the default for a missing
// file, section or key, and at most nSize - 1 characters returned.
class CIni {
public:
    explicit CIni(Ui& ui) : m_ui(ui) {}

    QString GetIniString(const QString& Sektion, const QString& Titel, const QString& Vorgabe,
                         const QString& INIFile, int nSize);

    // Settings.ini beside the program, read with the usual 256-character buffer.
    QString Setting(const QString& Sektion, const QString& Titel, const QString& Vorgabe);
    // [General] OnlyArdel60 is exactly "True".
    bool OnlyArdel60();

private:
    Ui& m_ui;
};

// The lookup itself, without the error trap; the text is the INI file's whole content.
QString LookupIniValue(const QString& iniText, const QString& section, const QString& key,
                       const QString& fallback, int nSize);

#pragma once

#include <QString>

// The program folder ("App path"): MERVEX_PROGRAM_DIR when set, else the folder of the
// executable; an installed program whose resources live in share/mervex uses that folder.
QString ProgramDir();
// The program folder for an executable in `exeDir`, when MERVEX_PROGRAM_DIR is not set.
QString ProgramDirFor(const QString& exeDir);
// Settings.ini: in MERVEX_PROGRAM_DIR when set, else the first that exists of beside the
// executable, the administrator's configuration folder (ConfigDirFor) and the program folder.
QString SettingsIniPath();
// The same lookup for an executable in `exeDir`, when MERVEX_PROGRAM_DIR is not set.
QString SettingsIniPathFor(const QString& exeDir);
// The administrator's configuration folder of a program installed in PREFIX/bin:
// /etc/mervex for the /usr prefix, as for every Debian package, else PREFIX/etc/mervex.
QString ConfigDirFor(const QString& exeDir);
// A file below the program folder, e.g. ProgramFile("Grafics/Main.ico").
QString ProgramFile(const QString& relative);
// Joins a folder and a name with exactly one separator between them.
QString JoinPath(const QString& folder, const QString& name);
// The user's documents folder, created when it does not exist yet (a fresh account): it is
// the default work directory and where dataset and spreadsheet dialogs start.
QString DocumentsFolder();

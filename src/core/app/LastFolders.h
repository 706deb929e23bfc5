#pragma once

#include "app/Ui.h"

#include <QString>

// The folder where the user last opened or saved each kind of file, kept in the per-user
// settings store (group "Folders"), so that every window's file dialog for that kind starts
// there — and never in the process's current directory.
namespace LastFolders {

// The remembered folder of `kind` when it still exists, else `fallback` when it exists,
// else the documents folder.
QString StartFolder(FileKind kind, const QString& fallback);
// Remembers the folder of `chosenFile` for `kind` (nothing for FileKind::Other).
void Remember(FileKind kind, const QString& chosenFile);

} // namespace LastFolders

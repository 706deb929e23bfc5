#pragma once

#include <QStringList>

class QMenu;
class QMimeData;
class frmMain;

// Opening files from outside the program's own dialogs: the command line, a drop on the
// main window, the recent files. Dataset files replace the open documents (after the save
// question), one document each; a protocol file opens the window of its kind.
void OpenFiles(frmMain& main, const QStringList& paths);

// The local files of a drag, or none when it carries no file.
QStringList DroppedFiles(const QMimeData* data);

// Fills a "recent files" menu (disabled when the list is empty) from the per-user list; choosing an
// entry opens it, and an entry whose file has gone is reported and dropped from the list.
void FillRecentMenu(QMenu* menu, frmMain& main);

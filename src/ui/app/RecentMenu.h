#pragma once

class MenuCommands;
class QMenu;

// Fills a "recent files" menu (disabled when the list is empty) from the per-user list;
// choosing an entry opens it through the frame, which ignores it while an operation runs.
void FillRecentMenu(QMenu* menu, MenuCommands& commands);

#pragma once

class MainFrame;
class QMenu;

// Fills a "recent files" menu (disabled when the list is empty) from the per-user list;
// choosing an entry opens it through the frame.
void FillRecentMenu(QMenu* menu, MainFrame& main);

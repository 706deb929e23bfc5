#pragma once

#include <QList>

class QAction;
class QMenu;
class QWidget;

// The menus of the main window and of a document window. Both carry the same menus; the
// document adds the entries that act on its dataset. Every item holds its string number
// as text until ApplyCaptions replaces it, and carries its name as objectName.
struct AppMenus {
    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileClose = nullptr; // document only, like every null item below
    QMenu* mnuFileRecent = nullptr;  // the last files opened or saved
    QAction* mnuFileBar0 = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileBar1 = nullptr;
    QAction* mnuFilePageSetup = nullptr;
    QAction* mnuFilePrintPreview = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileBar2 = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr; // document only: the table's copy, selection and filter
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditCopyRaw = nullptr;
    QAction* mnuEditSelectAll = nullptr;
    QAction* mnuEditFind = nullptr;
    QMenu* mnuDevice = nullptr;
    QAction* mnuDeviceSearch = nullptr;
    QAction* mnuChangeUser = nullptr;
    QMenu* mnuDataExchange = nullptr;
    QAction* mnuImport = nullptr;
    QAction* mnuExport = nullptr;
    QAction* mnuArchiveAdd = nullptr;     // document only: archive the dataset (again)
    QAction* mnuArchive = nullptr;        // the Archive window
    QAction* mnuQualityControl = nullptr; // the Quality control window
    QMenu* mnuCalProtocols = nullptr;
    QAction* mnuCalProtPH = nullptr;
    QAction* mnuCalProtTurb = nullptr;
    QMenu* mnuPrograms = nullptr;
    QAction* mnuProgsUserDef = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuViewToolbar = nullptr;
    QAction* mnuGraph = nullptr;      // document only: the dataset graph
    QAction* mnuStatistics = nullptr; // document only: statistics per program
    QMenu* mnuWindow = nullptr;
    QAction* mnuWindowCascade = nullptr;
    QAction* mnuWindowTileHorizontal = nullptr;
    QAction* mnuWindowTileVertical = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // The menus of the menu bar, in their order (the document's edit menu after the file menu).
    QList<QMenu*> TopLevel() const;
};

enum class MenuKind { Main, Document };

// Builds the menus as children of owner. The window menu is hidden and disabled in both;
// a document's page setup, print preview and print entries are hidden and disabled too.
AppMenus BuildMenus(QWidget* owner, MenuKind kind);

class MenuCommands;
// Connects the entries that every window hands to the main window (all but the tool bar
// toggle, whose check mark each window keeps itself).
void ConnectForwarding(const AppMenus& menus, MenuCommands& commands);

// Enables or disables a top-level menu as a whole.
void SetMenuEnabled(QMenu* menu, bool enabled);

#include "ui/app/AppMenus.h"

#include "ui/app/MenuCommands.h"
#include "ui/app/RecentMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace {

QMenu* Menu(QWidget* owner, const char* name, int string) {
    auto* menu = new QMenu(QString::number(string), owner);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* Item(QMenu* menu, const char* name, int string, QKeySequence shortcut = {}) {
    QAction* action = menu->addAction(QString::number(string));
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

// The platform's keys for a standard command, or `fallback` where the platform has none
// (Quit and Save As have no key under some desktops' conventions).
void SetStandardShortcut(QAction* action, QKeySequence::StandardKey key, QKeySequence fallback) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!keys.contains(fallback)) {
        keys.append(fallback);
    }
    action->setShortcuts(keys);
}

// The status bar line of each entry, as a string number that ApplyCaptions replaces.
struct StatusTip {
    QAction* AppMenus::*item;
    int string;
};

constexpr StatusTip kStatusTips[] = {
    {&AppMenus::mnuFileNew, 1770},
    {&AppMenus::mnuFileOpen, 1771},
    {&AppMenus::mnuFileClose, 1772},
    {&AppMenus::mnuFileSave, 1773},
    {&AppMenus::mnuFileSaveAs, 1774},
    {&AppMenus::mnuFileExit, 1775},
    {&AppMenus::mnuDeviceSearch, 1776},
    {&AppMenus::mnuChangeUser, 1777},
    {&AppMenus::mnuImport, 1778},
    {&AppMenus::mnuExport, 1779},
    {&AppMenus::mnuCalProtPH, 1780},
    {&AppMenus::mnuCalProtTurb, 1781},
    {&AppMenus::mnuProgsUserDef, 1782},
    {&AppMenus::mnuViewToolbar, 1783},
    {&AppMenus::mnuGraph, 1784},
    {&AppMenus::mnuWindowCascade, 1785},
    {&AppMenus::mnuWindowTileHorizontal, 1786},
    {&AppMenus::mnuWindowTileVertical, 1787},
    {&AppMenus::mnuHelpContents, 1788},
    {&AppMenus::mnuHelpAbout, 1789},
    {&AppMenus::mnuEditCopy, 1791},
    {&AppMenus::mnuEditCopyRaw, 1792},
    {&AppMenus::mnuEditSelectAll, 1793},
    {&AppMenus::mnuEditFind, 1794},
    {&AppMenus::mnuArchiveAdd, 1795},
    {&AppMenus::mnuArchive, 1796},
    {&AppMenus::mnuQualityControl, 1744},
    {&AppMenus::mnuStatistics, 1797},
};

void SetStatusTips(AppMenus& m) {
    for (const StatusTip& tip : kStatusTips) {
        if (QAction* item = m.*tip.item) {
            item->setStatusTip(QString::number(tip.string));
        }
    }
    m.mnuFileRecent->menuAction()->setStatusTip(QStringLiteral("1790"));
    m.mnuCalProtocols->menuAction()->setStatusTip(QStringLiteral("1798"));
}

QAction* Separator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

void HideAndDisable(QAction* action) {
    action->setVisible(false);
    action->setEnabled(false);
}

void BuildFile(AppMenus& m, QWidget* owner, bool document) {
    m.mnuFile = Menu(owner, "mnuFile", 1000);
    m.mnuFileNew = Item(m.mnuFile, "mnuFileNew", 1001, QKeySequence(Qt::CTRL | Qt::Key_N));
    m.mnuFileOpen = Item(m.mnuFile, "mnuFileOpen", 1002, QKeySequence(Qt::CTRL | Qt::Key_O));
    m.mnuFileRecent = Menu(owner, "mnuFileRecent", 1760);
    m.mnuFile->addMenu(m.mnuFileRecent);
    if (document) {
        m.mnuFileClose = Item(m.mnuFile, "mnuFileClose", 1003);
    }
    m.mnuFileBar0 = Separator(m.mnuFile, "mnuFileBar0");
    if (document) {
        m.mnuFileSave = Item(m.mnuFile, "mnuFileSave", 1004, QKeySequence(Qt::CTRL | Qt::Key_S));
        m.mnuFileSaveAs = Item(m.mnuFile, "mnuFileSaveAs", 1005);
        m.mnuFileBar1 = Separator(m.mnuFile, "mnuFileBar1");
        m.mnuFilePageSetup = Item(m.mnuFile, "mnuFilePageSetup", 1006);
        m.mnuFilePrintPreview = Item(m.mnuFile, "mnuFilePrintPreview", 1007);
        m.mnuFilePrint = Item(m.mnuFile, "mnuFilePrint", 1008, QKeySequence(Qt::CTRL | Qt::Key_P));
        m.mnuFileBar2 = Separator(m.mnuFile, "mnuFileBar2");
        for (QAction* hidden :
             {m.mnuFilePageSetup, m.mnuFilePrintPreview, m.mnuFilePrint, m.mnuFileBar2}) {
            HideAndDisable(hidden);
        }
    }
    m.mnuFileExit = Item(m.mnuFile, "mnuFileExit", 1009);
    SetStandardShortcut(m.mnuFileExit, QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    if (document) {
        SetStandardShortcut(m.mnuFileClose, QKeySequence::Close,
                            QKeySequence(Qt::CTRL | Qt::Key_W));
        SetStandardShortcut(m.mnuFileSaveAs, QKeySequence::SaveAs,
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    }
}

void BuildDataExchange(AppMenus& m, QWidget* owner, bool document) {
    m.mnuDataExchange = Menu(owner, "mnuDataExchange", 1204);
    if (document) {
        m.mnuImport = Item(m.mnuDataExchange, "mnuImport", 1031);
        m.mnuImport->setEnabled(false);
        m.mnuExport = Item(m.mnuDataExchange, "mnuExport", 1052);
        m.mnuArchiveAdd = Item(m.mnuDataExchange, "mnuArchiveAdd", 1651);
    }
    m.mnuArchive = Item(m.mnuDataExchange, "mnuArchive", 1632);
    m.mnuQualityControl = Item(m.mnuDataExchange, "mnuQualityControl", 1743);
    m.mnuCalProtocols = Menu(owner, "mnuCalProtocols", 1216);
    m.mnuDataExchange->addMenu(m.mnuCalProtocols);
    m.mnuCalProtPH = Item(m.mnuCalProtocols, "mnuCalProtPH", 1217);
    m.mnuCalProtTurb = Item(m.mnuCalProtocols, "mnuCalProtTurb", 1218);
}

void BuildOthers(AppMenus& m, QWidget* owner) {
    m.mnuDevice = Menu(owner, "mnuDevice", 1110);
    m.mnuDeviceSearch = Item(m.mnuDevice, "mnuDeviceSearch", 1207);
    m.mnuChangeUser = Item(m.mnuDevice, "mnuChangeUser", 1206);
    m.mnuPrograms = Menu(owner, "mnuPrograms", 1072);
    m.mnuProgsUserDef = Item(m.mnuPrograms, "mnuProgsUserDef", 1073);
    m.mnuView = Menu(owner, "mnuView", 1010);
    m.mnuViewToolbar = Item(m.mnuView, "mnuViewToolbar", 1011);
    m.mnuViewToolbar->setCheckable(true);
    m.mnuViewToolbar->setChecked(true);
    m.mnuWindow = Menu(owner, "mnuWindow", 1012);
    m.mnuWindowCascade = Item(m.mnuWindow, "mnuWindowCascade", 1013);
    m.mnuWindowTileHorizontal = Item(m.mnuWindow, "mnuWindowTileHorizontal", 1014);
    m.mnuWindowTileVertical = Item(m.mnuWindow, "mnuWindowTileVertical", 1015);
    HideAndDisable(m.mnuWindow->menuAction());
    m.mnuHelp = Menu(owner, "mnuHelp", 1016);
    // F1 itself is caught before any shortcut (HelpKey); the entry shows it and opens the
    // same section.
    m.mnuHelpContents = Item(m.mnuHelp, "mnuHelpContents", 1018, QKeySequence(Qt::Key_F1));
    m.mnuHelpContents->setShortcutContext(Qt::WidgetShortcut);
    m.mnuHelpAbout = Item(m.mnuHelp, "mnuHelpAbout", 1019);
}

// The document's graph and statistics views, below the tool bar toggle.
void BuildGraph(AppMenus& m) {
    m.mnuView->addSeparator();
    m.mnuGraph = Item(m.mnuView, "mnuGraph", 1630, QKeySequence(Qt::CTRL | Qt::Key_G));
    m.mnuStatistics = Item(m.mnuView, "mnuStatistics", 1631);
}

void BuildEdit(AppMenus& m, QWidget* owner) {
    m.mnuEdit = Menu(owner, "mnuEdit", 1700);
    m.mnuEditCopy = Item(m.mnuEdit, "mnuEditCopy", 1701, QKeySequence::Copy);
    m.mnuEditCopyRaw = Item(m.mnuEdit, "mnuEditCopyRaw", 1702);
    m.mnuEditSelectAll = Item(m.mnuEdit, "mnuEditSelectAll", 1703, QKeySequence::SelectAll);
    m.mnuEdit->addSeparator();
    m.mnuEditFind = Item(m.mnuEdit, "mnuEditFind", 1704, QKeySequence::Find);
}

} // namespace

QList<QMenu*> AppMenus::TopLevel() const {
    QList<QMenu*> menus = {mnuFile, mnuDevice, mnuDataExchange, mnuPrograms,
                           mnuView, mnuWindow, mnuHelp};
    if (mnuEdit != nullptr) {
        menus.insert(1, mnuEdit);
    }
    return menus;
}

AppMenus BuildMenus(QWidget* owner, MenuKind kind) {
    const bool document = kind == MenuKind::Document;
    AppMenus m;
    BuildFile(m, owner, document);
    BuildOthers(m, owner);
    BuildDataExchange(m, owner, document);
    if (document) {
        BuildEdit(m, owner);
        BuildGraph(m);
    }
    SetStatusTips(m);
    return m;
}

void ConnectForwarding(const AppMenus& m, MenuCommands& commands) {
    const auto forward = [&commands](QAction* action, void (MenuCommands::*operation)()) {
        QObject::connect(action, &QAction::triggered, action,
                         [&commands, operation] { (commands.*operation)(); });
    };
    forward(m.mnuFileNew, &MenuCommands::MenuFileNew);
    forward(m.mnuFileOpen, &MenuCommands::MenuFileOpen);
    forward(m.mnuFileExit, &MenuCommands::MenuFileExit);
    forward(m.mnuDeviceSearch, &MenuCommands::MenuDeviceSearch);
    forward(m.mnuChangeUser, &MenuCommands::MenuChangeUser);
    forward(m.mnuCalProtPH, &MenuCommands::MenuCalProtPH);
    forward(m.mnuCalProtTurb, &MenuCommands::MenuCalProtTurb);
    forward(m.mnuProgsUserDef, &MenuCommands::MenuProgsUserDef);
    forward(m.mnuWindowCascade, &MenuCommands::MenuWindowCascade);
    forward(m.mnuWindowTileHorizontal, &MenuCommands::MenuWindowTileHorizontal);
    forward(m.mnuWindowTileVertical, &MenuCommands::MenuWindowTileVertical);
    forward(m.mnuHelpContents, &MenuCommands::MenuHelpContents);
    forward(m.mnuHelpAbout, &MenuCommands::MenuHelpAbout);
    forward(m.mnuArchive, &MenuCommands::MenuArchive);
    forward(m.mnuQualityControl, &MenuCommands::MenuQualityControl);
    QMenu* recent = m.mnuFileRecent;
    QObject::connect(m.mnuFile, &QMenu::aboutToShow, recent,
                     [recent, &commands] { FillRecentMenu(recent, commands); });
    FillRecentMenu(recent, commands);
}

void SetMenuEnabled(QMenu* menu, bool enabled) {
    menu->menuAction()->setEnabled(enabled);
}

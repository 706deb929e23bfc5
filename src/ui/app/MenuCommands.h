#pragma once

#include <QStringList>

// The menu entries every window's menu bar shares, carried out by the main window. Each
// ignores a command that arrives while an operation runs.
class MenuCommands {
public:
    virtual ~MenuCommands() = default;

    virtual void MenuFileNew() = 0;
    virtual void MenuFileOpen() = 0;
    // Files from outside the program's dialogs (command line, drop, recent files): dataset
    // files replace the open documents after the save question, one document each; a
    // protocol file opens the window of its kind.
    virtual void OpenFiles(const QStringList& paths) = 0;
    virtual void MenuFileExit() = 0;
    virtual void MenuDeviceSearch() = 0;
    virtual void MenuChangeUser() = 0;
    virtual void MenuProgsUserDef() = 0;
    virtual void MenuCalProtPH() = 0;
    virtual void MenuCalProtTurb() = 0;
    virtual void MenuViewToolbar() = 0;
    virtual bool ToolbarIsChecked() const = 0;
    virtual void MenuWindowCascade() = 0;
    virtual void MenuWindowTileHorizontal() = 0;
    virtual void MenuWindowTileVertical() = 0;
    virtual void MenuHelpContents() = 0;
    virtual void MenuHelpAbout() = 0;
    virtual void MenuArchive() = 0;
    virtual void MenuQualityControl() = 0;
    // The Quality control window, read again from the archive, showing `control`'s chart.
    virtual void OpenQualityControl(const QString& control) = 0;

protected:
    MenuCommands() = default;
    MenuCommands(const MenuCommands&) = default;
    MenuCommands& operator=(const MenuCommands&) = default;
};

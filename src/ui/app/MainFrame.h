#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class Services;
struct ArchiveExtract;
struct MValSet;

// What the windows inside the program need of the frame around them: the services, the
// status bar, the command states, the documents and the menu commands they hand on. The
// main window implements it; a window test can give a light stand-in instead.
class MainFrame {
public:
    virtual ~MainFrame() = default;

    virtual Services& services() = 0;
    // The owner of the dialogs a window opens, and the receiver of the menu commands.
    virtual QWidget* FrameWindow() = 0;

    virtual void SetStatusBarCOM(const QString& strCOMPort, const QString& strBaudrate) = 0;
    virtual void SetStatusBarDevice(const QString& strDeviceName, const QString& strSerNum) = 0;
    virtual void SetStatusBarUserName(const QString& strUserName) = 0;

    // Enables and disables the commands for the meter state and the number of documents.
    // documentStays is false only while a closing document still counts itself.
    virtual bool UpdateCommandStates(bool documentStays) = 0;
    virtual bool ToolbarIsChecked() const = 0;
    virtual void OpenDocument(const QString& path) = 0;
    // False when a document stayed open.
    virtual bool CloseAllDocuments() = 0;
    // A document calls this once it is unloaded.
    virtual void DocumentUnloaded() = 0;
    // Files from outside the program's dialogs (command line, drop, recent files): dataset
    // files replace the open documents after the save question, one document each; a
    // protocol file opens the window of its kind.
    virtual void OpenFiles(const QStringList& paths) = 0;
    // A new document showing records read back from the archive, `extract` saying where
    // they come from; unmodified until the user changes it.
    virtual void OpenDataset(MValSet& set, const ArchiveExtract& extract) = 0;
    // A passing note beside the status bar's panels (what the archive took).
    virtual void ShowStatusNote(const QString& text) = 0;

    // The menu entries every window's menu bar shares.
    virtual void MenuFileNew() = 0;
    virtual void MenuFileOpen() = 0;
    virtual void MenuFileExit() = 0;
    virtual void MenuDeviceSearch() = 0;
    virtual void MenuChangeUser() = 0;
    virtual void MenuProgsUserDef() = 0;
    virtual void MenuCalProtPH() = 0;
    virtual void MenuCalProtTurb() = 0;
    virtual void MenuViewToolbar() = 0;
    virtual void MenuWindowCascade() = 0;
    virtual void MenuWindowTileHorizontal() = 0;
    virtual void MenuWindowTileVertical() = 0;
    virtual void MenuHelpContents() = 0;
    virtual void MenuHelpAbout() = 0;
    virtual void MenuArchive() = 0;

protected:
    MainFrame() = default;
    MainFrame(const MainFrame&) = default;
    MainFrame& operator=(const MainFrame&) = default;
};

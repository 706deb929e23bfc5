#pragma once

#include "ui/app/AppMenus.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class frmCalProtEdit;
class frmDocument;
class MeterLink;
class QMdiArea;
class QToolBar;
class Services;
class StatusPanels;
class Ui;

// The main window: the frame around the document windows with the menus, the tool bar and
// the status bar. It owns the program's service objects and offers the small operations
// every other window calls: counting documents, writing the status bar, the busy pointer
// and the menu commands.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    using LinkFactory = std::function<std::unique_ptr<MeterLink>(Ui&)>;

    // Runs the load handler: the window is ready, with one empty document, on return.
    frmMain(Ui& ui, LinkFactory makeLink, QWidget* parent = nullptr);
    ~frmMain() override;

    Services& services() { return *m_services; }
    const AppMenus& Menus() const { return m_menus; }
    QToolBar* tbToolBar = nullptr;
    QMdiArea* mdiArea = nullptr;

    short NumDocs() const;
    QList<frmDocument*> Documents() const;
    // The document the tool bar acts on, or none.
    frmDocument* ActiveDocument() const;

    void SetStatusBarCOM(const QString& strCOMPort, const QString& strBaudrate);
    void SetStatusBarDevice(const QString& strDeviceName, const QString& strSerNum);
    void SetStatusBarUserName(const QString& strUserName);
    QString StatusBarText(int panel) const;
    // 11 = hourglass, 0 = default; on this window and every document.
    void SetMousePointer(int intMousePointerVal);
    bool ToolbarIsChecked() const;
    QAction* ToolButton(const QString& key) const;

    // Enables and disables the commands for the meter state and the number of documents.
    // documentStays is false only while a closing document still counts itself.
    bool UpdateCommandStates(bool documentStays);
    void OpenDocument(const QString& path);
    // One more document beside the open ones, loading `path` when it is not empty.
    frmDocument* AddDocument(const QString& path);
    // The protocol window of the kind, showing the protocol file instead of the meter's.
    void OpenProtocolFile(const QString& path, bool fPH);
    // False when a document stayed open.
    bool CloseAllDocuments();

    // A document calls this once it is unloaded.
    void DocumentUnloaded();

    // The lot editor of the turbidity protocol: made at the first use, kept while hidden,
    // made anew after its frame closed it.
    frmCalProtEdit& CalProtEdit();

    // True once the user asked to quit while an operation was running: the window closes
    // as soon as nothing runs any more.
    bool ClosePending() const { return m_closePending; }
    bool IsUnloaded() const { return m_unloaded; }

public slots:
    void MenuFileNew();
    void MenuFileOpen();
    void MenuFileExit();
    void MenuDeviceSearch();
    void MenuChangeUser();
    void MenuProgsUserDef();
    void MenuCalProtPH();
    void MenuCalProtTurb();
    void MenuViewToolbar();
    void MenuWindowCascade();
    void MenuWindowTileHorizontal();
    void MenuWindowTileVertical();
    void MenuHelpContents();
    void MenuHelpAbout();
    void ToolbarButtonClick(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Dataset and protocol files dropped on the window open as from the command line.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildWindow();
    void BuildToolBar();
    void Form_Load();
    void LoadIcon();
    void ChooseHelpFile();
    void ShowHelp(int context);
    void Form_Unload();
    void ApplyCommandStates(const struct CommandStates& states);
    // Shows the active document's menus in the menu bar, or this window's own.
    void RefreshMenuBar();
    // Ends the running wait and closes the window once no operation and no modal dialog
    // is left on the stack.
    void CloseWhenIdle();
    void StopRunningOperation();

    Ui& m_ui;
    LinkFactory m_makeLink;
    std::unique_ptr<Services> m_services;
    AppMenus m_menus;
    StatusPanels* m_panels = nullptr;
    QString m_helpFile;
    QPointer<QWidget> m_menuOwner;
    QPointer<frmCalProtEdit> m_calProtEdit;
    bool m_unloaded = false;
    bool m_closePending = false;
};

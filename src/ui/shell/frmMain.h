#pragma once

#include "ui/app/AppMenus.h"
#include "ui/app/MainFrame.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class frmCalProtEdit;
class frmDocument;
class frmQualityControl;
class MeterLink;
class QMdiArea;
class QToolBar;
class Services;
class StatusPanels;
class Ui;

// The main window: the frame around the document windows with the menus, the tool bar and
// the status bar. It owns the program's service objects and offers the small operations
// every other window calls through the parts of MainFrame: writing the status bar, the command
// states, the documents and the menu commands. The busy pointer follows the busy state.
class frmMain : public QMainWindow, public MainFrame {
    Q_OBJECT
public:
    using LinkFactory = std::function<std::unique_ptr<MeterLink>(Ui&)>;

    // Runs the load handler: the window is ready, with one empty document, on return.
    frmMain(Ui& ui, LinkFactory makeLink, QWidget* parent = nullptr);
    ~frmMain() override;

    // The program's bag of services, for the start-up and the windows the shell builds.
    Services& services() { return *m_services; }
    QWidget* FrameWindow() override { return this; }
    const AppMenus& Menus() const { return m_menus; }
    QToolBar* tbToolBar = nullptr;
    QMdiArea* mdiArea = nullptr;

    short NumDocs() const;
    QList<frmDocument*> Documents() const;
    // The document the tool bar acts on, or none.
    frmDocument* ActiveDocument() const;

    void SetStatusBarCOM(const QString& strCOMPort, const QString& strBaudrate) override;
    void SetStatusBarDevice(const QString& strDeviceName, const QString& strSerNum) override;
    void SetStatusBarUserName(const QString& strUserName) override;
    QString StatusBarText(int panel) const;
    // 11 = hourglass, 0 = default; on this window, every document and every dialog open
    // above them but the wait dialog. Follows the busy state.
    void SetMousePointer(int intMousePointerVal);
    bool ToolbarIsChecked() const override;
    QAction* ToolButton(const QString& key) const;

    bool UpdateCommandStates(bool documentStays) override;
    void OpenDocument(const QString& path) override;
    bool CloseAllDocuments() override;
    // One more document beside the open ones, loading `path` when it is not empty.
    frmDocument* AddDocument(const QString& path);
    // The protocol window of the kind, showing the protocol file instead of the meter's.
    void OpenProtocolFile(const QString& path, bool fPH);
    void OpenFiles(const QStringList& paths) override;

    void DocumentUnloaded() override;
    void OpenDataset(MValSet& set, const ArchiveExtract& extract) override;
    void ShowStatusNote(const QString& text) override;

    // The lot editor of the turbidity protocol: made at the first use, kept while hidden,
    // made anew after its frame closed it.
    frmCalProtEdit& CalProtEdit();

    // True once the user asked to quit while an operation was running: the window closes
    // as soon as nothing runs any more.
    bool ClosePending() const { return m_closePending; }
    bool IsUnloaded() const { return m_unloaded; }

    // A termination signal: the running operation stops, the dialogs above the window go
    // without their questions, the documents close keeping their recovery copies, and the
    // window closes.
    void EndBySignal();
    // At the start: the recovery copies a previous run left, offered to open or to discard.
    void OfferRecovery();

public slots:
    void MenuFileNew() override;
    void MenuFileOpen() override;
    void MenuFileExit() override;
    void MenuDeviceSearch() override;
    void MenuChangeUser() override;
    void MenuProgsUserDef() override;
    void MenuCalProtPH() override;
    void MenuCalProtTurb() override;
    void MenuViewToolbar() override;
    void MenuWindowCascade() override;
    void MenuWindowTileHorizontal() override;
    void MenuWindowTileVertical() override;
    void MenuHelpContents() override;
    void MenuHelpAbout() override;
    void MenuArchive() override;
    void MenuQualityControl() override;
    void OpenQualityControl(const QString& control) override;
    void ToolbarButtonClick(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
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
    // Dataset files in place of the open documents, one document each; false when the
    // user kept a document or stopped a reading.
    bool ReplaceDocuments(const QStringList& paths);
    // Shows the active document's menus in the menu bar, or this window's own.
    void RefreshMenuBar();
    // The title's "*" of the maximised window shown in this window's title.
    void ShowActiveModified();
    // Closes the window once no operation runs any more, closing the dialogs open above
    // it first.
    void CloseWhenIdle();
    void StopRunningOperation();

    Ui& m_ui;
    LinkFactory m_makeLink;
    std::unique_ptr<Services> m_services;
    AppMenus m_menus;
    StatusPanels* m_panels = nullptr;
    QLabel* m_statusNote = nullptr; // made at its first use
    QPointer<QWidget> m_archiveWindow;
    QPointer<frmQualityControl> m_qualityControlWindow;
    QString m_helpFile;
    QPointer<QWidget> m_menuOwner;
    QPointer<frmCalProtEdit> m_calProtEdit;
    bool m_unloaded = false;
    bool m_closePending = false;
};

#include "ui/shell/frmMain.h"

#include "app/ErrorTrap.h"
#include "app/Paths.h"
#include "app/Services.h"
#include "app/TextTables.h"
#include "data/RecoveryStore.h"
#include "print/PrinterFactories.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/CommandStates.h"
#include "ui/app/HelpContext.h"
#include "ui/app/HelpKey.h"
#include "ui/app/MdiArrange.h"
#include "ui/app/Pictures.h"
#include "ui/app/StatusPanels.h"
#include "ui/app/WindowPlacement.h"
#include "ui/app/frmWait.h"
#include "ui/archive/frmArchive.h"
#include "ui/calibration/ProtocolSave.h"
#include "ui/calibration/frmCalProtEdit.h"
#include "ui/calibration/frmCalProtocolPH.h"
#include "ui/calibration/frmCalProtocolTurb.h"
#include "ui/data/frmDocument.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/meter/DeviceSearch.h"
#include "ui/meter/MeterServices.h"
#include "ui/programs/frmProgConsole.h"
#include "ui/qc/frmQualityControl.h"
#include "ui/shell/FileOpening.h"
#include "ui/shell/WindowServices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

namespace {

struct ToolButtonDesign {
    const char* key;
    int tip;
};

constexpr ToolButtonDesign kToolButtons[] = {
    {"New", 1020},    {"Open", 1021},   {"Save", 1022},     {"Print", 1023},
    {"Import", 1147}, {"Export", 1148}, {"UsrProgs", 1102},
};

constexpr int kPanelTips[] = {1182, 1183, 1092, 1184, 1185};

} // namespace

frmMain::frmMain(Ui& ui, LinkFactory makeLink, QWidget* parent)
    : QMainWindow(parent), m_ui(ui), m_makeLink(std::move(makeLink)) {
    BuildWindow();
    Form_Load();
}

frmMain::~frmMain() {
    // Documents refer to the services: they go first.
    delete mdiArea;
    mdiArea = nullptr;
}

void frmMain::BuildWindow() {
    setObjectName(QStringLiteral("frmMain"));
    setContextMenuPolicy(Qt::NoContextMenu); // the tool bar is shown through mnuViewToolbar only
    setAcceptDrops(true);
    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::RefreshMenuBar);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::ShowActiveModified);
    m_menus = BuildMenus(this, MenuKind::Main);
    ConnectForwarding(m_menus, *this);
    connect(m_menus.mnuViewToolbar, &QAction::triggered, this,
            [this] { tbToolBar->setVisible(ToolbarIsChecked()); });
    BuildToolBar();
    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    m_panels = new StatusPanels(statusBar());
    new HelpKey([this](int context) { ShowHelp(context); }, this);
    RefreshMenuBar();
}

void frmMain::BuildToolBar() {
    tbToolBar = addToolBar(QStringLiteral("tbToolBar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(24, 24));
    for (const ToolButtonDesign& design : kToolButtons) {
        const QString key = QLatin1String(design.key);
        const QIcon icon(GraficsFile(key + QStringLiteral(".png")));
        // The text (the tip's string, as the menus have theirs) is what a screen reader says.
        QAction* action = tbToolBar->addAction(icon, QString::number(design.tip));
        action->setObjectName(key);
        action->setData(key);
        action->setToolTip(QString::number(design.tip));
        connect(action, &QAction::triggered, this, [this, key] { ToolbarButtonClick(key); });
    }
}

void frmMain::Form_Load() {
    for (int i = 0; i < 5; ++i) {
        m_panels->SetToolTip(i + 1, QString::number(kPanelTips[i]));
    }
    ApplyCaptions(this);
    PlaceAtStart(*this, LoadPlacement());
    LoadIcon();
    m_services = std::make_unique<Services>(m_ui, m_makeLink(m_ui));
    m_services->print.SetPrinterFactory(std::make_unique<SystemPrinterFactory>());
    m_services->print.SetOptions(RememberedPrintOptions());
    // Every window's commands follow the busy state, at its start and at its end.
    connect(&m_services->busy, &BusyState::Changed, this, [this](bool busy) {
        SetMousePointer(busy ? 11 : 0);
        UpdateCommandStates(true);
    });
    TrappedVoid(m_ui, [&] {
        setWindowTitle(m_services->ini.Setting(QStringLiteral("About"), QStringLiteral("AppName"),
                                               QStringLiteral("Mervex")));
        ChooseHelpFile();
        MenuFileNew();
        SetStatusBarCOM(LoadResString(1062), QString());
        UpdateCommandStates(true);
    });
}

void frmMain::LoadIcon() {
    // A missing icon is reported, but the window still loads: everything after this step
    // (the services above all) is needed for the program to work.
    TrappedVoid(m_ui, [&] { setWindowIcon(QIcon(LoadPicture(QStringLiteral("Main.ico")))); });
}

void frmMain::ChooseHelpFile() {
    const int name = m_services->ini.OnlyArdel60() ? 1244 : 1215;
    m_helpFile = ProgramFile(QStringLiteral("Help/") + LoadResString(name));
}

void frmMain::ShowHelp(int context) {
    // The help is HTML beside the program, under the stem of the designed help file.
    const QString page = HelpPage(m_helpFile);
    // A lean desktop may have no program that opens web pages (xdg-open): name the file.
    if (QFileInfo::exists(page) && !QDesktopServices::openUrl(HelpUrl(page, context))) {
        m_ui.Message(LoadResString(1600).arg(QDir::toNativeSeparators(page)), LoadResString(1054),
                     MsgIcon::Information);
    }
}

QList<frmDocument*> frmMain::Documents() const {
    QList<frmDocument*> documents;
    if (!mdiArea) {
        return documents;
    }
    for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        auto* document = qobject_cast<frmDocument*>(sub->widget());
        if (document && !document->IsUnloaded()) {
            documents << document;
        }
    }
    return documents;
}

short frmMain::NumDocs() const {
    return static_cast<short>(Documents().size());
}

frmDocument* frmMain::ActiveDocument() const {
    const QList<frmDocument*> documents = Documents();
    if (QMdiSubWindow* current = mdiArea ? mdiArea->currentSubWindow() : nullptr) {
        auto* document = qobject_cast<frmDocument*>(current->widget());
        if (documents.contains(document)) {
            return document;
        }
    }
    return documents.isEmpty() ? nullptr : documents.front();
}

void frmMain::SetStatusBarCOM(const QString& strCOMPort, const QString& strBaudrate) {
    m_panels->SetText(1, strCOMPort);
    m_panels->SetText(2, strBaudrate);
}

void frmMain::SetStatusBarDevice(const QString& strDeviceName, const QString& strSerNum) {
    m_panels->SetText(3, strDeviceName);
    m_panels->SetText(4, strSerNum);
}

void frmMain::SetStatusBarUserName(const QString& strUserName) {
    m_panels->SetText(5, strUserName);
}

QString frmMain::StatusBarText(int panel) const {
    return m_panels->Text(panel);
}

void frmMain::SetMousePointer(int intMousePointerVal) {
    if (intMousePointerVal == 11) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
    for (frmDocument* document : Documents()) {
        document->SetMousePointer(intMousePointerVal);
    }
    // The wait dialog keeps the normal pointer: its Cancel is what the user may click.
    for (QDialog* dialog : findChildren<QDialog*>()) {
        if (intMousePointerVal == 11 && dialog->isVisible() && !qobject_cast<frmWait*>(dialog)) {
            dialog->setCursor(Qt::WaitCursor);
        } else {
            dialog->unsetCursor();
        }
    }
}

bool frmMain::ToolbarIsChecked() const {
    return m_menus.mnuViewToolbar->isChecked();
}

QAction* frmMain::ToolButton(const QString& key) const {
    for (QAction* action : tbToolBar->actions()) {
        if (action->data().toString() == key) {
            return action;
        }
    }
    return nullptr;
}

bool frmMain::UpdateCommandStates(bool documentStays) {
    return Trapped(m_ui, false, [&] {
        CommandInputs in;
        const CDevice& device = m_services->device;
        in.online = device.Online();
        in.ardel = device.IsArdel60() || device.IsArdel20();
        in.supportsPH = device.SupportsPH();
        in.supportsTurbidity = device.SupportsTurbidity();
        in.onlyArdel60 = m_services->ini.OnlyArdel60();
        in.numDocs = NumDocs();
        in.documentStays = documentStays;
        in.busy = m_services->busy.Busy();
        ApplyCommandStates(DecideCommandStates(in));
        return true;
    });
}

void frmMain::ApplyCommandStates(const CommandStates& s) {
    const auto apply = [&s](const AppMenus& m) {
        if (m.mnuImport) {
            m.mnuImport->setEnabled(s.import);
        }
        m.mnuCalProtPH->setEnabled(s.calProtPH);
        m.mnuCalProtTurb->setEnabled(s.calProtTurb);
        SetMenuEnabled(m.mnuPrograms, s.programs);
        for (QAction* item : {m.mnuFileNew, m.mnuFileOpen, m.mnuFileClose, m.mnuFileSave,
                              m.mnuFileSaveAs, m.mnuExport, m.mnuArchiveAdd, m.mnuArchive,
                              m.mnuGraph, m.mnuDeviceSearch, m.mnuChangeUser, m.mnuHelpAbout}) {
            if (item) {
                item->setEnabled(s.idle);
            }
        }
    };
    for (frmDocument* document : Documents()) {
        apply(document->Menus());
    }
    apply(m_menus);
    ToolButton(QStringLiteral("UsrProgs"))->setEnabled(s.programs);
    for (const char* key : {"Save", "Print", "Export"}) {
        ToolButton(QLatin1String(key))->setEnabled(s.documentButtons);
    }
    ToolButton(QStringLiteral("Import"))->setEnabled(s.import && s.documentButtons);
    tbToolBar->setEnabled(s.idle);
}

void frmMain::OpenDocument(const QString& path) {
    TrappedVoid(m_ui, [&] {
        if (path.isEmpty()) {
            if (CloseAllDocuments()) {
                AddDocument(QString());
            }
            return;
        }
        ReplaceDocuments({path});
    });
}

// The save questions come before the reading; the documents go only once a new one took
// their place, so that a reading the user stops leaves them as they were. A stop ends the
// whole lot.
bool frmMain::ReplaceDocuments(const QStringList& paths) {
    const QList<frmDocument*> old = Documents();
    if (!std::all_of(old.cbegin(), old.cend(),
                     [](frmDocument* document) { return document->MayDropDataset(); })) {
        return false;
    }
    bool replaced = false;
    bool stopped = false;
    for (const QString& path : paths) {
        frmDocument* document = AddDocument(QString());
        stopped = document->OpenFromFile(path) == frmDocument::OpenResult::Stopped;
        if (stopped) {
            document->parentWidget()->close();
            break;
        }
        replaced = true;
    }
    for (frmDocument* document : old) {
        if (replaced) {
            document->CloseAsked();
        }
    }
    return !stopped;
}

frmDocument* frmMain::AddDocument(const QString& path) {
    auto* document = new frmDocument(*this, DocumentServicesOf(*m_services));
    QMdiSubWindow* sub = mdiArea->addSubWindow(document);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    document->installEventFilter(this);
    document->Form_Load();
    if (!path.isEmpty()) {
        document->FillFromFile(path);
    }
    sub->showMaximized();
    mdiArea->setActiveSubWindow(sub);
    RefreshMenuBar();
    return document;
}

void frmMain::OpenFiles(const QStringList& paths) {
    if (m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    const FilesToOpen files = SortFilesToOpen(m_ui, paths);
    // One round of save questions for the whole lot; a document kept open ends it.
    if (!files.datasets.isEmpty() && !ReplaceDocuments(files.datasets)) {
        return;
    }
    for (const auto& [path, fPH] : files.protocols) {
        OpenProtocolFile(path, fPH);
    }
}

void frmMain::OpenProtocolFile(const QString& path, bool fPH) {
    TrappedVoid(m_ui, [&] {
        if (fPH) {
            frmCalProtocolPH window(*this, ProtocolServicesOf(*m_services), path);
            window.exec();
        } else {
            frmCalProtocolTurb window(
                *this, ProtocolServicesOf(*m_services),
                [this]() -> frmCalProtEdit& { return CalProtEdit(); }, path);
            window.exec();
        }
    });
}

bool frmMain::CloseAllDocuments() {
    // A document that stays (the user cancelled, its save failed or was cancelled, its
    // import is still running) ends the round: the command that closes is abandoned.
    while (frmDocument* document = Documents().value(0, nullptr)) {
        if (!document->parentWidget()->close()) {
            return false;
        }
    }
    return true;
}

void frmMain::DocumentUnloaded() {
    RefreshMenuBar();
}

void frmMain::OpenDataset(MValSet& set, const ArchiveExtract& extract) {
    // Only into a new document: one the user kept open keeps its own dataset.
    if (!CloseAllDocuments()) {
        return;
    }
    OpenDocument(QString());
    if (frmDocument* document = ActiveDocument()) {
        document->ShowDataset(set, extract);
    }
}

void frmMain::ShowStatusNote(const QString& text) {
    if (m_statusNote == nullptr) {
        m_statusNote = new QLabel(this);
        m_statusNote->setObjectName(QStringLiteral("lblStatusNote"));
        statusBar()->addPermanentWidget(m_statusNote);
    }
    m_statusNote->setText(text);
}

void frmMain::MenuArchive() {
    if (m_services && m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    frmArchive* opened = nullptr;
    if (m_archiveWindow == nullptr) {
        opened = new frmArchive(*this, *this, *this, ArchiveServicesOf(*m_services), this);
        opened->setAttribute(Qt::WA_DeleteOnClose);
        m_archiveWindow = opened;
    }
    m_archiveWindow->show();
    m_archiveWindow->raise();
    m_archiveWindow->activateWindow();
    if (opened != nullptr) {
        opened->RunLastSearch();
    }
}

void frmMain::MenuQualityControl() {
    OpenQualityControl(QString());
}

void frmMain::OpenQualityControl(const QString& control) {
    if (m_services && m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    const bool opening = m_qualityControlWindow == nullptr;
    if (opening) {
        m_qualityControlWindow = new frmQualityControl(ArchiveServicesOf(*m_services), this);
        m_qualityControlWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_qualityControlWindow->show();
    m_qualityControlWindow->raise();
    m_qualityControlWindow->activateWindow();
    // A control asked for by name has new points of an import to show: read again.
    if (opening || !control.isEmpty()) {
        m_qualityControlWindow->LoadControls(control);
    }
}

// Qt carries a maximised window's modified mark into this title only when the title
// already names it at the time of the change; on X11 the change can come first (a
// recovered import showed no "*" though closing asked to save), so the mark is set here
// from the window itself whenever either changes.
void frmMain::ShowActiveModified() {
    if (!windowTitle().contains(QLatin1String("[*]"))) {
        return;
    }
    const QMdiSubWindow* sub = mdiArea->activeSubWindow();
    setWindowModified(sub && sub->widget() && sub->widget()->isWindowModified());
}

void frmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowTitleChange) {
        ShowActiveModified();
    }
    QMainWindow::changeEvent(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ModifiedChange) {
        ShowActiveModified();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::RefreshMenuBar() {
    frmDocument* document = ActiveDocument();
    QWidget* owner = document ? static_cast<QWidget*>(document) : this;
    if (owner == m_menuOwner) {
        return;
    }
    menuBar()->clear();
    for (QMenu* menu : document ? document->Menus().TopLevel() : m_menus.TopLevel()) {
        menuBar()->addMenu(menu);
    }
    m_menuOwner = owner;
}

void frmMain::MenuFileNew() {
    if (m_services && m_services->busy.Busy()) {
        return;
    }
    OpenDocument(QString());
}

void frmMain::MenuFileOpen() {
    if (m_services && m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    TrappedVoid(m_ui, [&] {
        FileDialogRequest request;
        request.title = LoadResString(1021);
        request.kind = FileKind::Dataset;
        request.filter = LoadResString(1113) + QStringLiteral(" (*.csv)|*.csv");
        request.fileMustExist = true;
        request.hideReadOnly = true;
        if (const auto path = m_ui.OpenFileDialog(request)) {
            OpenDocument(*path);
        }
    });
}

void frmMain::MenuFileExit() {
    close();
}

void frmMain::MenuDeviceSearch() {
    if (m_services && m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    TrappedVoid(m_ui, [&] {
        // The search ends in a new document: a document the user keeps abandons it.
        if (CloseAllDocuments() && MenuSearch(MeterServicesOf(*m_services), *this, *this)) {
            OpenDocument(QString());
            UpdateCommandStates(true);
        }
    });
}

void frmMain::MenuChangeUser() {
    if (m_services && m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    TrappedVoid(m_ui, [&] {
        const auto answer =
            m_ui.InputBox(LoadResString(1176), LoadResString(1208), m_services->login.UserName());
        if (!answer || answer->isEmpty()) {
            return;
        }
        // The login's rules apply here too: a ";" would break the saved dataset files.
        m_services->login.UserName(*answer);
        SetStatusBarUserName(m_services->login.UserName());
    });
}

void frmMain::MenuProgsUserDef() {
    if (m_services && m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    frmProgConsole console(ProgramServicesOf(*m_services), this);
    // The list was read while the user asked to quit: the console is not shown any more.
    if (!m_closePending) {
        console.exec();
    }
}

void frmMain::MenuCalProtPH() {
    if (m_services && m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    TrappedVoid(m_ui, [&] {
        frmCalProtocolPH window(*this, ProtocolServicesOf(*m_services));
        if (!m_closePending) {
            window.exec();
        }
    });
}

void frmMain::MenuCalProtTurb() {
    if (m_services && m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    TrappedVoid(m_ui, [&] {
        frmCalProtocolTurb window(*this, ProtocolServicesOf(*m_services),
                                  [this]() -> frmCalProtEdit& { return CalProtEdit(); });
        if (!m_closePending) {
            window.exec();
        }
    });
}

frmCalProtEdit& frmMain::CalProtEdit() {
    if (!m_calProtEdit) {
        m_calProtEdit = new frmCalProtEdit(m_services->ui, m_services->ini, this);
    }
    return *m_calProtEdit;
}

void frmMain::MenuViewToolbar() {
    m_menus.mnuViewToolbar->setChecked(!m_menus.mnuViewToolbar->isChecked());
    tbToolBar->setVisible(ToolbarIsChecked());
}

void frmMain::MenuWindowCascade() {
    mdiArea->cascadeSubWindows();
}

void frmMain::MenuWindowTileHorizontal() {
    TileSubWindows(mdiArea, true);
}

void frmMain::MenuWindowTileVertical() {
    TileSubWindows(mdiArea, false);
}

void frmMain::MenuHelpContents() {
    QWidget* focus = QApplication::focusWidget();
    ShowHelp(HelpContextOf(focus ? focus : this));
}

void frmMain::MenuHelpAbout() {
    if (m_services && m_services->busy.Busy()) {
        return; // a command that arrives while an operation runs is ignored
    }
    TrappedVoid(m_ui, [&] {
        frmAbout about(m_services->ini, m_services->ui, this);
        about.exec();
    });
}

void frmMain::ToolbarButtonClick(const QString& key) {
    if (m_services->busy.Busy()) {
        return;
    }
    if (key == QLatin1String("New")) {
        MenuFileNew();
    } else if (key == QLatin1String("Open")) {
        MenuFileOpen();
    } else if (key == QLatin1String("UsrProgs")) {
        MenuProgsUserDef();
    } else if (frmDocument* document = ActiveDocument()) {
        if (key == QLatin1String("Save")) {
            document->MenuFileSave();
        } else if (key == QLatin1String("Print")) {
            document->MenuFilePrint();
        } else if (key == QLatin1String("Import")) {
            document->MenuImport();
        } else if (key == QLatin1String("Export")) {
            document->MenuExport();
        }
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_unloaded) {
        event->accept();
        return;
    }
    // Never release the services under a running operation: stop it and close afterwards.
    if (m_services->busy.Busy() || QApplication::activeModalWidget()) {
        event->ignore();
        StopRunningOperation();
        if (!m_closePending) {
            m_closePending = true;
            m_services->busy.SetQuitting(true);
            QTimer::singleShot(0, this, &frmMain::CloseWhenIdle);
        }
        return;
    }
    m_closePending = false;
    // The questions about unsaved data come first; an answer that keeps the data keeps the
    // program open, and its operations report again. Ending by a signal, the documents close
    // without a question (their recovery copies stay) and nothing else is asked.
    const bool bySignal = m_services->busy.EndingBySignal();
    const QList<frmDocument*> documents = Documents();
    const bool dropped =
        std::all_of(documents.cbegin(), documents.cend(),
                    [](frmDocument* document) { return document->parentWidget()->close(); }) &&
        (bySignal || MayDropEditedLot(m_services->ui, m_services->calProtocol,
                                      [&] { return HeldProtocolKind(m_services->calProtocol); }));
    if (!dropped) {
        m_services->busy.SetQuitting(false);
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_services->busy.Busy() && !DroppedFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    if (m_services->busy.Busy() || files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // The save question and a protocol window are modal: not inside the drop's handler.
    QTimer::singleShot(0, this, [this, files] { OpenFiles(files); });
}

void frmMain::StopRunningOperation() {
    TrappedVoid(m_ui, [&] {
        m_services->link().COMStop();
        m_services->usrDefProg.StopUpdate();
    });
}

void frmMain::CloseWhenIdle() {
    if (!m_closePending || m_unloaded) {
        return;
    }
    if (m_services->busy.Busy()) {
        QTimer::singleShot(50, this, &frmMain::CloseWhenIdle);
        return;
    }
    // The dialogs above the window (the program console, a protocol window, a message)
    // close first, the topmost at a time, each as its own close box would close it. One
    // that stays open (its question about unsaved data was answered with "Annuler") keeps
    // the program open too.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (m_services->busy.EndingBySignal()) {
            modal->hide(); // as Escape would, but without the question a close may ask
        } else if (!modal->close() && !m_services->busy.Busy()) {
            m_closePending = false;
            m_services->busy.SetQuitting(false);
            return;
        }
        QTimer::singleShot(0, this, &frmMain::CloseWhenIdle);
        return;
    }
    m_closePending = false;
    // A close still under way below (the dialogs just hidden were its questions) refuses
    // this one: ending by a signal, try again once it has come back.
    if (!close() && !m_unloaded && m_services->busy.EndingBySignal()) {
        m_closePending = true;
        QTimer::singleShot(50, this, &frmMain::CloseWhenIdle);
    }
}

void frmMain::EndBySignal() {
    if (m_unloaded) {
        return;
    }
    m_services->busy.SetEndingBySignal();
    // Also when a close is under way already (its question open): that close cannot run
    // again, so the dialogs go from here and the window closes once they are gone.
    StopRunningOperation();
    m_closePending = true;
    QTimer::singleShot(0, this, &frmMain::CloseWhenIdle);
}

void frmMain::OfferRecovery() {
    TrappedVoid(m_ui, [&] {
        const RecoveryStore store;
        const QStringList copies = store.List();
        if (copies.isEmpty()) {
            return;
        }
        switch (AskToRecover(m_ui, copies)) {
        case MsgResult::Yes:
            if (CloseAllDocuments()) {
                for (const QString& path : copies) {
                    frmDocument* document = AddDocument(QString());
                    // The frame takes the maximised document's title first; the modified
                    // mark set before that would not reach the frame's title.
                    m_ui.Yield();
                    document->OpenRecovered(path);
                }
            }
            break;
        case MsgResult::No:
            for (const QString& path : copies) {
                RecoveryStore::Remove(path);
            }
            break;
        default:
            break; // offered again at the next start
        }
    });
}

void frmMain::Form_Unload() {
    if (!isMinimized()) {
        StorePlacement(PlacementOf(*this));
    }
    // Releasing the services closes the serial ports the link holds.
    m_services.reset();
    m_unloaded = true;
}

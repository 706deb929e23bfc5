#include "ui/data/frmDocument.h"

#include "app/BusyState.h"
#include "app/CIni.h"
#include "app/DateText.h"
#include "app/ErrorTrap.h"
#include "app/RecentFiles.h"
#include "app/SaveQuestion.h"
#include "app/TextTables.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "archive/QcImportCheck.h"
#include "data/CMeasVal.h"
#include "data/ProposedName.h"
#include "meter/CDevice.h"
#include "meter/CLogin.h"
#include "meter/MeterLink.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/HelpContext.h"
#include "ui/app/LargeFileTask.h"
#include "ui/app/MainFrame.h"
#include "ui/app/Pictures.h"
#include "ui/app/StatusMessage.h"
#include "ui/data/DatasetFilterBar.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/DocumentLayout.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocumentGraph.h"
#include "ui/qc/QcBanner.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScopeGuard>
#include <QTableView>
#include <algorithm>
#include <initializer_list>

namespace {

constexpr int kHeadHeight = 900;
constexpr int kLogoWidth = 3150;
constexpr int kLogoHeight = 700;
constexpr int kHeaderTop = 950;

// The widest size hint of the labels, in twips.
int NeededTwips(std::initializer_list<const QLabel*> labels, double dpi, bool height = false) {
    int pixels = 0;
    for (const QLabel* label : labels) {
        const QSize hint = label->sizeHint();
        pixels = std::max(pixels, height ? hint.height() : hint.width());
    }
    return PixelsToTwips(pixels, dpi) + 1; // rounding down would cut the last pixel
}

} // namespace

frmDocument::frmDocument(MainFrame& main, DocumentServices services, QWidget* parent)
    : QWidget(parent), m_main(main), m_services(services) {
    setObjectName(QStringLiteral("frmDocument"));
    setProperty("Tag", QStringLiteral("1068"));
    SetHelpContext(this, HelpContext::kDocument);
    BuildHead();
    BuildHeader();
    BuildGrid();
    m_menus = BuildMenus(this, MenuKind::Document);
    ConnectMenus();
    m_printing.AddEntries(m_menus);
    m_validity.AddEntries(m_menus);
}

void frmDocument::BuildHead() {
    picHead = new QWidget(this);
    picHead->setObjectName(QStringLiteral("picHead"));
    picHead->setAutoFillBackground(true);
    QPalette white = picHead->palette();
    white.setColor(QPalette::Window, Qt::white);
    picHead->setPalette(white);
    imgLogo = NewControl<QLabel>(picHead, "imgLogo");
    imgLogo->setScaledContents(false);
    imgLogo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void frmDocument::BuildHeader() {
    fraHeader = new QGroupBox(this);
    fraHeader->setObjectName(QStringLiteral("fraHeader"));
    fraHeader->setProperty("Tag", QStringLiteral("1205"));
    lblMeter = NewControl<QLabel>(fraHeader, "lblMeter", "1063");
    lblSerNo = NewControl<QLabel>(fraHeader, "lblSerNo", "1064");
    lblUser = NewControl<QLabel>(fraHeader, "lblUser", "1176");
    lblPCDate = NewControl<QLabel>(fraHeader, "lblPCDate", "1049");
    lblPCTime = NewControl<QLabel>(fraHeader, "lblPCTime", "1050");
    lblMeterValue = NewControl<QLabel>(fraHeader, "lblMeterValue");
    lblSerNoValue = NewControl<QLabel>(fraHeader, "lblSerNoValue");
    lblUserValue = NewControl<QLabel>(fraHeader, "lblUserValue");
    lblPCDateValue = NewControl<QLabel>(fraHeader, "lblPCDateValue");
    lblPCTimeValue = NewControl<QLabel>(fraHeader, "lblPCTimeValue");
}

void frmDocument::BuildGrid() {
    hfgMVals = new QTableView(this);
    hfgMVals->setObjectName(QStringLiteral("hfgMVals"));
    m_grid = std::make_unique<DocumentGrid>(*this, *hfgMVals, m_services.device, m_services.ini);
    connect(&TableTools(), &DatasetTableTools::BarToggled, this, &frmDocument::LayOut);
    fraQcBanner = new QcBanner(this);
    connect(fraQcBanner, &QcBanner::VisibilityChanged, this, &frmDocument::LayOut);
    connect(fraQcBanner, &QcBanner::ChartAsked, this,
            [this](const QString& control) { m_main.OpenQualityControl(control); });
    // What the banner says is about the records it came with.
    connect(&GridModel(), &QAbstractItemModel::modelReset, fraQcBanner, &QcBanner::Dismiss);
    // An open graph shows what the table shows.
    connect(&TableTools().Proxy(), &MValTableProxy::ShownChanged, this, [this] {
        if (m_graph != nullptr && m_graph->isVisible()) {
            RefreshGraph(true);
        }
    });
}

void frmDocument::ConnectMenus() {
    ConnectForwarding(m_menus, m_main);
    TableTools().ConnectMenus(m_menus);
    connect(m_menus.mnuFileClose, &QAction::triggered, this, [this] {
        if (QWidget* frame = parentWidget()) {
            frame->close();
        } else {
            close();
        }
    });
    connect(m_menus.mnuFileSave, &QAction::triggered, this, &frmDocument::MenuFileSave);
    connect(m_menus.mnuFileSaveAs, &QAction::triggered, this, &frmDocument::MenuFileSaveAs);
    connect(m_menus.mnuFilePrint, &QAction::triggered, this, &frmDocument::MenuFilePrint);
    connect(m_menus.mnuImport, &QAction::triggered, this, &frmDocument::MenuImport);
    connect(m_menus.mnuExport, &QAction::triggered, this, &frmDocument::MenuExport);
    connect(m_menus.mnuArchiveAdd, &QAction::triggered, this, &frmDocument::MenuArchiveAdd);
    connect(m_menus.mnuGraph, &QAction::triggered, this, &frmDocument::MenuGraph);
    connect(m_menus.mnuViewToolbar, &QAction::triggered, this, [this] {
        m_main.MenuViewToolbar();
        m_menus.mnuViewToolbar->setChecked(m_main.ToolbarIsChecked());
    });
}

void frmDocument::Form_Load() {
    TrappedVoid(m_services.ui, [&] {
        const QString manufacturer = m_services.ini.Setting(
            QStringLiteral("General"), QStringLiteral("Manufacturer"), QStringLiteral("0"));
        ApplyCaptions(this);
        hfgMVals->setAccessibleName(LoadResString(1068));
        LoadPictures(manufacturer);
        ClearHeader();
        GridModel().Reset(9, 19);
        LayOut();
        m_main.UpdateCommandStates(true);
        m_menus.mnuViewToolbar->setChecked(m_main.ToolbarIsChecked());
        m_mvals = MValSet();
        m_mvals.strMeter = m_services.device.DeviceName();
        m_mvals.strSerNo = m_services.device.SerialNumber();
        m_mvals.strUser = m_services.login.UserName();
        m_strFilePath.clear();
        SetModified(false);
    });
}

void frmDocument::SetModified(bool modified) {
    m_modified = modified;
    if (!modified) {
        m_recovery.Drop();
    }
    ShowTitle();
}

void frmDocument::ShowTitle() {
    const QString name =
        m_strFilePath.isEmpty() ? LoadResString(1068) : QFileInfo(m_strFilePath).fileName();
    setWindowTitle(name + QStringLiteral("[*]"));
    setWindowModified(IsModified());
}

QString frmDocument::ProposedName() const {
    return ProposedDatasetName(m_mvals, m_strFilePath);
}

void frmDocument::LoadPictures(const QString& manufacturer) {
    setWindowIcon(ProgramIcon());
    const QString logo = GraficsFile(QStringLiteral("Logo_%1.gif").arg(manufacturer));
    if (QFileInfo::exists(logo)) {
        imgLogo->setPixmap(QPixmap(logo));
    }
}

void frmDocument::ClearHeader() {
    for (QLabel* value :
         {lblMeterValue, lblSerNoValue, lblUserValue, lblPCDateValue, lblPCTimeValue}) {
        value->clear();
    }
    ShowHeaderCaptions();
}

void frmDocument::SetMousePointer(int intMousePointerVal) {
    for (QWidget* w : {static_cast<QWidget*>(this), hfgMVals->viewport()}) {
        if (intMousePointerVal == 11) {
            w->setCursor(Qt::WaitCursor);
        } else {
            w->unsetCursor();
        }
    }
}

void frmDocument::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void frmDocument::LayOut() {
    if (isMinimized() || (parentWidget() && parentWidget()->isMinimized())) {
        return;
    }
    const double dx = logicalDpiX();
    const double dy = logicalDpiY();
    const auto px = [dx](int twips) { return TwipsToPixels(twips, dx); };
    const auto py = [dy](int twips) { return TwipsToPixels(twips, dy); };
    // The designed places are the least; texts of a larger desktop font push them apart.
    HeaderNeeds needs;
    needs.leftNames = NeededTwips({lblMeter, lblSerNo, lblUser}, dx);
    needs.leftValues = NeededTwips({lblMeterValue, lblSerNoValue, lblUserValue}, dx);
    needs.rightNames = NeededTwips({lblPCDate, lblPCTime}, dx);
    needs.rightValues = NeededTwips({lblPCDateValue, lblPCTimeValue}, dx);
    needs.lineHeight = NeededTwips({lblMeter, lblMeterValue}, dy, true);
    const HeaderPlaces header = LayOutHeader(needs);
    const DocumentLayout l =
        LayOutDocument(PixelsToTwips(width(), dx), PixelsToTwips(height(), dy), header.gridTop);
    picHead->setGeometry(0, 0, px(l.headWidth), py(kHeadHeight));
    imgLogo->setVisible(l.logoVisible);
    imgLogo->setGeometry(px(l.logoLeft), py(100), px(kLogoWidth), py(kLogoHeight));
    fraHeader->setGeometry(px(100), py(kHeaderTop), px(qMax(l.headerWidth, 0)),
                           py(header.frameHeight));
    const QList<std::pair<QLabel*, QLabel*>> lines = {{lblMeter, lblMeterValue},
                                                      {lblSerNo, lblSerNoValue},
                                                      {lblUser, lblUserValue},
                                                      {lblPCDate, lblPCDateValue},
                                                      {lblPCTime, lblPCTimeValue}};
    for (int i = 0; i < lines.size(); ++i) {
        const HeaderLine& p = header.lines[i];
        const int h = py(header.lineHeight);
        lines[i].first->setGeometry(px(p.nameLeft), py(p.top), px(p.nameWidth), h);
        lines[i].second->setGeometry(px(p.valueLeft), py(p.top), px(p.valueWidth), h);
    }
    LayOutTable(l.gridVisible,
                QRect(px(l.gridLeft), py(l.gridTop), px(l.gridWidth), py(l.gridHeight)));
}

// The filter bar (when shown) above the grid and the count of records below it take their
// lines from the grid's place.
void frmDocument::LayOutTable(bool visible, QRect grid) {
    QWidget& bar = TableTools().FilterBar();
    QLabel& count = TableTools().CountLabel();
    hfgMVals->setVisible(visible);
    count.setVisible(visible);
    if (!visible) {
        return;
    }
    if (!fraQcBanner->isHidden()) {
        const int bannerHeight = fraQcBanner->heightForWidth(grid.width());
        fraQcBanner->setGeometry(grid.left(), grid.top(), grid.width(),
                                 bannerHeight > 0 ? bannerHeight
                                                  : fraQcBanner->sizeHint().height());
        grid.adjust(0, fraQcBanner->height(), 0, 0);
    }
    const int barHeight = bar.isVisibleTo(this) ? bar.sizeHint().height() : 0;
    const int countHeight = count.sizeHint().height();
    bar.setGeometry(grid.left(), grid.top(), grid.width(), barHeight);
    grid.adjust(0, barHeight, 0, -countHeight);
    hfgMVals->setGeometry(grid);
    count.setGeometry(grid.left(), grid.bottom() + 1, grid.width(), countHeight);
}

void frmDocument::closeEvent(QCloseEvent* event) {
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (m_services.busy.Busy()) {
        // An operation runs (this window's import, perhaps): closing now ends the wait
        // instead, and the window stays until the operation has come back.
        m_services.link.COMStop();
        event->ignore();
        return;
    }
    if (!QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    // Ending by a signal the unsaved dataset stays as its recovery copy for the next start.
    if (!m_services.busy.EndingBySignal()) {
        m_recovery.Drop();
    }
    if (m_graph != nullptr) {
        m_graph->close(); // the graph of this dataset goes with it
    }
    m_main.UpdateCommandStates(false);
    m_unloaded = true;
    m_main.DocumentUnloaded();
}

// The one answer to "would closing lose something?": the title's marker shows it and the
// save question asks it, so the two cannot disagree. A change counts while there is
// something to save: a dataset, or the file it came from.
bool frmDocument::IsModified() const {
    return m_modified && (!m_strFilePath.isEmpty() || !m_mvals.strMVals.isEmpty());
}

bool frmDocument::QueryUnload() {
    // Nobody may be there to answer a signal's end: the recovery copy keeps the data.
    if (m_dropAsked || m_services.busy.EndingBySignal()) {
        return true;
    }
    // An error while asking lets the window close rather than trapping it open.
    return Trapped(m_services.ui, true, [&] { return MayDropDataset(); });
}

void frmDocument::CloseAsked() {
    m_dropAsked = true;
    parentWidget()->close();
    m_dropAsked = m_dropAsked && !m_unloaded;
}

bool frmDocument::MayDropDataset() {
    if (!IsModified()) {
        return true;
    }
    return MayDropChanges(m_services.ui, [&] { return SaveAndRemember(true); });
}

bool frmDocument::OpenRecovered(const QString& path) {
    MValSet set;
    short code = CMeasVal::kFailed;
    LargeFileTask task(m_services.tasks(), this, 1560, path, QFileInfo(path).size() >= kLargeFile);
    task.Run([&](const WorkProgress& progress) {
        m_services.measVal.SetProgress(progress);
        const auto forget = qScopeGuard([&] { m_services.measVal.SetProgress({}); });
        code = m_services.measVal.OpenFile(set, path);
        return code == CMeasVal::kOpened;
    });
    if (code != CMeasVal::kOpened) {
        if (code != CMeasVal::kStopped) {
            ReportError(code == CMeasVal::kNotADatasetFile ? 1181 : 1180);
        }
        return false;
    }
    // Like the import it was: Save asks for a name, closing asks whether to save.
    m_recovery.Adopt(path);
    TakeImport(set);
    return true;
}

bool frmDocument::ShowMVals(bool fWithHeader) {
    return Trapped(m_services.ui, false, [&] {
        ClearHeader();
        m_grid->Clear();
        if (!fWithHeader) {
            return true;
        }
        ShowHeader();
        return m_mvals.strMVals.isEmpty() || m_grid->Fill(m_mvals);
    });
}

void frmDocument::ShowHeader() {
    lblMeterValue->setText(m_mvals.strMeter);
    lblSerNoValue->setText(m_mvals.strSerNo);
    lblUserValue->setText(m_mvals.strUser);
    if (m_extract) {
        lblPCDateValue->setText(m_extract->PeriodText());
        lblPCTimeValue->setText(QString::number(m_extract->count));
    } else {
        lblPCDateValue->setText(ShortDateText(m_mvals.curDate.date()));
        lblPCTimeValue->setText(LongTimeText(m_mvals.curDate.time()));
    }
    LayOut(); // a longer name may need more room
}

void frmDocument::ShowHeaderCaptions() {
    const bool archived = m_extract.has_value();
    fraHeader->setTitle(archived ? LoadResString(1640).arg(m_extract->archive)
                                 : LoadResString(1205));
    lblPCDate->setText(LoadResString(archived ? 1641 : 1049));
    lblPCTime->setText(LoadResString(archived ? 1642 : 1050));
}

bool frmDocument::ReportNoDataset() {
    m_services.ui.Message(LoadResString(1055), LoadResString(1054), MsgIcon::Information);
    return false;
}

void frmDocument::ReportError(int number) {
    m_services.ui.Message(LoadResString(number), LoadResString(1033), MsgIcon::Critical);
}

void frmDocument::MenuImport() {
    m_services.busy.RunCommand([&] { TrappedVoid(m_services.ui, [&] { Import(); }); });
}

void frmDocument::Import() {
    if (!MayDropDataset()) {
        return;
    }
    // The header is the state at the start of the import.
    MValSet mvals;
    mvals.strMeter = m_services.device.DeviceName();
    mvals.strSerNo = m_services.device.SerialNumber();
    mvals.strUser = m_services.login.UserName();
    mvals.curDate = QDateTime::currentDateTime();
    if (m_commands.ReadMeter(mvals)) {
        TakeImport(mvals);
        // Shown first: the archive can only add to what the user already has.
        m_commands.ArchiveImport();
    }
}

void frmDocument::MenuArchiveAdd() {
    m_services.busy.RunCommand(
        [&] { TrappedVoid(m_services.ui, [&] { m_commands.ArchiveAdd(); }); });
}

// A failed or stopped import leaves the dataset shown as it was. A new one is a dataset
// of its own, also in a window that showed a file: Save asks for its name.
void frmDocument::TakeImport(MValSet& mvals) {
    TakeDataset(mvals, std::nullopt);
    SetModified(true);
    m_recovery.Keep(m_services.measVal, m_mvals);
}

// The archive holds these records already: unmodified, they need no recovery copy
// (SetModified(false) drops one an earlier import of this window left).
void frmDocument::ShowDataset(MValSet& mvals, const ArchiveExtract& extract) {
    TakeDataset(mvals, extract);
    SetModified(false);
}

void frmDocument::ShowQcVerdict(const QcImportVerdict& verdict) {
    QHash<int, QString> marks;
    const QString why = verdict.BannerLines().join(QLatin1Char('\n'));
    const QList<QStringView> lines = GridModel().Lines();
    for (int row = 0; row < lines.size(); ++row) {
        if (verdict.rejectedLines.contains(lines[row])) {
            marks.insert(row, why);
        }
    }
    GridModel().SetMarks(marks);
    fraQcBanner->Show(verdict);
    if (!marks.isEmpty()) {
        // The rejected value in sight, wherever the meter's memory placed it.
        const int first = *std::min_element(marks.keyBegin(), marks.keyEnd());
        hfgMVals->scrollTo(TableTools().Proxy().mapFromSource(GridModel().index(first, 0)));
    }
}

void frmDocument::TakeDataset(MValSet& mvals, const std::optional<ArchiveExtract>& extract) {
    m_mvals = std::move(mvals);
    m_extract = extract;
    m_strFilePath.clear();
    if (!ShowMVals(true)) {
        ReportError(1051);
    }
    RefreshGraph(true);
    TakeOrigins();
}

// Only records read back from the archive have an identity there: an import or a file
// leaves the entries disabled and the signature block without reviews.
void frmDocument::TakeOrigins() {
    m_reviews.Read(m_mvals);
    m_validity.UpdateEntries();
}

void frmDocument::ShowValidity() {
    m_grid->ShowValidity(m_mvals);
}

void frmDocument::MenuFileSave() {
    if (m_services.busy.Busy()) {
        return;
    }
    if (m_strFilePath.isEmpty()) {
        MenuFileSaveAs();
        return;
    }
    SaveAndRemember(true);
}

void frmDocument::MenuFileSaveAs() {
    m_services.busy.RunCommand([&] { SaveAndRemember(false); });
}

bool frmDocument::SaveAndRemember(bool fUseKnownPath) {
    return Trapped(m_services.ui, false, [&] {
        const std::optional<QString> newPath =
            m_commands.Save(m_mvals, fUseKnownPath ? m_strFilePath : QString());
        if (!newPath) {
            return false;
        }
        m_strFilePath = *newPath;
        SetModified(false);
        RecentFiles::Add(*newPath);
        ShowSavedMessage(this, *newPath);
        return true;
    });
}

void frmDocument::MenuFilePrint() {
    m_services.busy.RunCommand([&] { TrappedVoid(m_services.ui, [&] { m_commands.Print(); }); });
}

void frmDocument::MenuExport() {
    m_services.busy.RunCommand([&] { TrappedVoid(m_services.ui, [&] { m_commands.Export(); }); });
}

bool frmDocument::FillFromFile(const QString& path) {
    return OpenFromFile(path) == OpenResult::Opened;
}

frmDocument::OpenResult frmDocument::OpenFromFile(const QString& path) {
    // A large file holds the busy state and shows how far the reading is, in a wait dialog
    // that stops it; a small one opens before the user could tell.
    LargeFileTask task(m_services.tasks(), this, 1560, path, QFileInfo(path).size() >= kLargeFile);
    OpenResult result = OpenResult::Stopped;
    task.Run([&](const WorkProgress& progress) {
        m_services.measVal.SetProgress(progress);
        const auto forget = qScopeGuard([&] { m_services.measVal.SetProgress({}); });
        result = TakeFile(path);
        return result == OpenResult::Opened;
    });
    return result;
}

frmDocument::OpenResult frmDocument::TakeFile(const QString& path) {
    return Trapped(m_services.ui, OpenResult::Failed, [&] {
        const short code = m_services.measVal.OpenFile(m_mvals, path);
        if (code == CMeasVal::kStopped) {
            return OpenResult::Stopped; // the user's choice; the document keeps what it showed
        }
        m_extract.reset();
        if (code != CMeasVal::kOpened) {
            ReportError(code == CMeasVal::kNotADatasetFile ? 1181 : 1180);
            if (!ShowMVals(false)) {
                ReportError(1051);
            }
            ShowTitle(); // the reader left the dataset as far as it came: maybe nothing to save
            RefreshGraph(false);
            TakeOrigins();
            return OpenResult::Failed;
        }
        if (!ShowMVals(true)) {
            ReportError(1051);
        }
        m_strFilePath = path;
        SetModified(false);
        RecentFiles::Add(path);
        RefreshGraph(true);
        TakeOrigins();
        return OpenResult::Opened;
    });
}

// The document's side: one graph window per document, kept while the document lives so
// that it remembers its column and size.
void frmDocument::MenuGraph() {
    m_services.busy.RunCommand([&] {
        TrappedVoid(m_services.ui, [&] {
            if (m_mvals.strMVals.isEmpty()) {
                ReportNoDataset();
                return;
            }
            if (m_graph == nullptr) {
                m_graph =
                    new frmDocumentGraph(m_services.ui, m_services.busy, m_services.device, this);
            }
            m_graph->SetDataset(m_mvals, TableTools().Proxy().CountedLines());
            m_graph->show();
            m_graph->raise();
            m_graph->activateWindow();
        });
    });
}

void frmDocument::RefreshGraph(bool shown) {
    if (m_graph != nullptr) {
        m_graph->SetDataset(shown ? m_mvals : MValSet(),
                            shown ? TableTools().Proxy().CountedLines() : QList<QStringView>());
    }
}

#include "ui/data/frmDocument.h"

#include "app/ErrorTrap.h"
#include "app/SaveQuestion.h"
#include "app/Services.h"
#include "app/TextTables.h"
#include "app/Twips.h"
#include "data/ProposedName.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/HelpContext.h"
#include "ui/app/LargeFileTask.h"
#include "ui/app/MainFrame.h"
#include "ui/app/Pictures.h"
#include "ui/data/ColumnWidths.h"
#include "ui/data/DatasetFilterBar.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/DocumentLayout.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocumentGraph.h"

#include <QAction>
#include <QCloseEvent>
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

frmDocument::frmDocument(MainFrame& main, QWidget* parent)
    : QWidget(parent), m_main(main), m_services(main.services()) {
    setObjectName(QStringLiteral("frmDocument"));
    setProperty("Tag", QStringLiteral("1068"));
    SetHelpContext(this, HelpContext::kDocument);
    BuildHead();
    BuildHeader();
    BuildGrid();
    m_menus = BuildMenus(this, MenuKind::Document);
    ConnectMenus();
    m_printing.AddEntries(m_menus);
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
    m_model = new MValTableModel(this);
    hfgMVals = new QTableView(this);
    hfgMVals->setObjectName(QStringLiteral("hfgMVals"));
    m_tools = new DatasetTableTools(*this, *hfgMVals, *m_model);
    connect(m_tools, &DatasetTableTools::BarToggled, this, &frmDocument::LayOut);
    // An open graph shows what the table shows.
    connect(&m_tools->Proxy(), &MValTableProxy::ShownChanged, this, [this] {
        if (m_graph != nullptr && m_graph->isVisible()) {
            RefreshGraph(true);
        }
    });
}

void frmDocument::ConnectMenus() {
    ConnectForwarding(m_menus, m_main);
    m_tools->ConnectMenus(m_menus);
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
        m_model->Reset(9, 19);
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

void frmDocument::SetGridTitles(const QStringList& titles, const QList<int>& widthsTwips) {
    m_model->SetColumns(titles, widthsTwips);
    ApplyLayoutWidths(*hfgMVals, widthsTwips);
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
    QWidget& bar = m_tools->FilterBar();
    QLabel& count = m_tools->CountLabel();
    hfgMVals->setVisible(visible);
    count.setVisible(visible);
    if (!visible) {
        return;
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
        m_services.link().COMStop();
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
    LargeFileTask task(m_services, this, 1560, path, QFileInfo(path).size() >= kLargeFile);
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

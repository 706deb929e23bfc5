#include "ui/qc/frmQualityControl.h"

#include "app/BusyState.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecord.h"
#include "archive/QcStore.h"
#include "data/CPrint.h"
#include "data/TableCopy.h"
#include "qc/QcReport.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/DateFields.h"
#include "ui/app/HelpContext.h"
#include "ui/app/PlotPainting.h"
#include "ui/app/PrintCommands.h"
#include "ui/data/TableClipboard.h"
#include "ui/qc/QcChartView.h"
#include "ui/qc/frmQcDefine.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <algorithm>
#include <memory>

namespace {

// Pictures of the chart are saved at this size.
const QSize kImageSize(1400, 600);

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QStringList Texts(const QList<int>& numbers) {
    QStringList texts;
    for (const int number : numbers) {
        texts << LoadResString(number);
    }
    return texts;
}

QTableWidget* Table(const char* name, const QStringList& titles) {
    auto* table = Named(new QTableWidget(0, int(titles.size())), name);
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// A cell that sorts by `sortKey` (a number sorts as a number) and shows `text`.
QTableWidgetItem* Cell(const QString& text, const QVariant& sortKey = QVariant()) {
    auto* item = new QTableWidgetItem(text);
    if (sortKey.isValid()) {
        item->setData(Qt::EditRole, sortKey);
        item->setData(Qt::DisplayRole, text);
    }
    return item;
}

QString Number(double value) {
    return QString::number(value, 'g', 10);
}

QPushButton* Button(const char* name, const char* tag) {
    auto* button = Named(new QPushButton, name);
    button->setProperty("Tag", QLatin1String(tag));
    return button;
}

} // namespace

frmQualityControl::frmQualityControl(ArchiveServices services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_work(services, *this) {
    setObjectName(QStringLiteral("frmQualityControl"));
    setWindowTitle(LoadResString(1745));
    SetHelpContext(this, HelpContext::kArchive);
    BuildWindow();
    ApplyCaptions(this);
    resize(1100, 700);
    if (parent != nullptr) {
        move(parent->frameGeometry().center() - rect().center());
    }
}

frmQualityControl::~frmQualityControl() = default;

void frmQualityControl::closeEvent(QCloseEvent* event) {
    if (!m_work.DeferClose(event)) {
        QWidget::closeEvent(event);
    }
}

void frmQualityControl::BuildWindow() {
    lstControls = Named(new QListWidget, "lstControls");
    cmdNewControl = Button("cmdNewControl", "1601");
    cmdNewVersion = Button("cmdNewVersion", "1602");
    cmdNewVersion->setEnabled(false);
    grdVersions = Table("grdVersions", Texts({1748, 1749, 1750, 1622, 1752, 1753, 1754}));
    const QDate today = QDate::currentDate();
    chkPeriod = Named(new QCheckBox(LoadResString(1660)), "chkPeriod");
    dtpFrom = Named(new QDateEdit(today.addMonths(-3)), "dtpFrom");
    dtpTo = Named(new QDateEdit(today), "dtpTo");
    UsePeriodFields(*chkPeriod, *dtpFrom, *dtpTo);
    cmdShow = Named(new QPushButton(LoadResString(1746)), "cmdShow");
    cmdShow->setDefault(true);
    cmdSaveChart = Named(new QPushButton(LoadResString(1747)), "cmdSaveChart");
    cmdReport = Button("cmdReport", "1629");
    auto* report = new QMenu(cmdReport);
    const PrintActions print = NewPrintActions(this, m_services.printing(), "mnuReport",
                                               [this] { return ReportPrintout(); });
    report->addActions({print.printTo, print.preview, print.exportPdf});
    cmdReport->setMenu(report);
    picChart = new QcChartView;
    grdPoints = Table("grdPoints", QcReport::Titles());
    grdPoints->setSortingEnabled(true);
    grdPoints->installEventFilter(this);
    lblCounts = Named(new QLabel, "lblCounts");
    lblCounts->setWordWrap(true);

    auto* left = new QWidget;
    auto* leftGrid = new QGridLayout(left);
    leftGrid->setContentsMargins(0, 0, 0, 0);
    leftGrid->addWidget(lstControls, 0, 0, 1, 3);
    leftGrid->addWidget(cmdNewControl, 1, 0);
    leftGrid->addWidget(cmdNewVersion, 1, 1);
    leftGrid->setColumnStretch(2, 1);
    leftGrid->addWidget(grdVersions, 2, 0, 1, 3);
    auto* right = new QWidget;
    auto* grid = new QGridLayout(right);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(chkPeriod, 0, 0);
    grid->addWidget(dtpFrom, 0, 1);
    auto* to = new QLabel(LoadResString(1661));
    to->setBuddy(dtpTo);
    grid->addWidget(to, 0, 2);
    grid->addWidget(dtpTo, 0, 3);
    grid->addWidget(cmdShow, 0, 5);
    grid->addWidget(cmdSaveChart, 0, 6);
    grid->addWidget(cmdReport, 0, 7);
    grid->setColumnStretch(4, 1);
    grid->addWidget(picChart, 1, 0, 1, 8);
    grid->addWidget(lblCounts, 2, 0, 1, 8);
    grid->addWidget(grdPoints, 3, 0, 1, 8);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(3, 2);
    auto* split = new QSplitter;
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(1, 3);
    split->setSizes({380, 720});
    (new QGridLayout(this))->addWidget(split, 0, 0);

    connect(lstControls, &QListWidget::currentRowChanged, this, [this] {
        ShowVersions();
        ShowControl();
    });
    connect(cmdShow, &QPushButton::clicked, this, [this] { ShowControl(); });
    connect(cmdSaveChart, &QPushButton::clicked, this, [this] { SaveChart(); });
    connect(cmdNewControl, &QPushButton::clicked, this, [this] { DefineControl(false); });
    connect(cmdNewVersion, &QPushButton::clicked, this, [this] { DefineControl(true); });
}

bool frmQualityControl::eventFilter(QObject* watched, QEvent* event) {
    // The table's own copy takes one cell: the points' copy takes the rows, with titles.
    if (watched == grdPoints && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        CopyPoints();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmQualityControl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ShowControl();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmQualityControl::RunWork(const ArchiveJob::Work& work) {
    return m_work.Run(work, [](qint64) { return LoadResString(1745); });
}

bool frmQualityControl::LoadControls(const QString& chosen) {
    const auto controls = std::make_shared<QList<QcControl>>();
    if (!RunWork([controls](ArchiveDatabase& db, const ArchiveJob::Going&) {
            return QcStore(db).Controls(*controls);
        })) {
        return false;
    }
    m_controls = *controls;
    const QString shown = !chosen.isEmpty()            ? chosen
                          : lstControls->currentItem() ? lstControls->currentItem()->text()
                                                       : QString();
    const QSignalBlocker quiet(lstControls);
    lstControls->clear();
    for (const QcControl& c : m_controls) {
        lstControls->addItem(c.name);
        if (c.name == shown) {
            lstControls->setCurrentRow(lstControls->count() - 1);
        }
    }
    if (lstControls->currentRow() < 0 && lstControls->count() > 0) {
        lstControls->setCurrentRow(0);
    }
    ShowVersions();
    return lstControls->count() == 0 || ShowControl();
}

const QcJudgement& frmQualityControl::Judgement() const {
    return picChart->Judgement();
}

void frmQualityControl::DefineControl(bool newVersion) {
    const int row = lstControls->currentRow();
    const bool chosen = row >= 0 && row < m_controls.size();
    if (m_work.Running() || (newVersion && !chosen)) {
        return;
    }
    frmQcDefine dialog(m_services, newVersion ? &m_controls[row] : nullptr, this);
    if (dialog.exec() == QDialog::Accepted) {
        LoadControls(dialog.Defined());
    }
}

void frmQualityControl::ShowVersions() {
    grdVersions->setRowCount(0);
    const int row = lstControls->currentRow();
    cmdNewVersion->setEnabled(row >= 0 && row < m_controls.size());
    if (row < 0 || row >= m_controls.size()) {
        return;
    }
    for (const QcVersion& v : m_controls[row].versions) {
        const int at = grdVersions->rowCount();
        grdVersions->insertRow(at);
        const QStringList cells = {
            v.validFrom.toString(Qt::ISODate),
            Number(v.target),
            Number(v.sd),
            v.unit,
            v.rules.Text(),
            v.createdBy,
            v.createdAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))};
        for (int c = 0; c < cells.size(); ++c) {
            grdVersions->setItem(at, c, Cell(cells[c]));
        }
    }
    grdVersions->resizeColumnsToContents();
}

bool frmQualityControl::ShowControl() {
    const int row = lstControls->currentRow();
    if (row < 0 || row >= m_controls.size()) {
        return false;
    }
    const QcControl control = m_controls[row];
    const auto records = std::make_shared<QList<QcRecord>>();
    if (!RunWork([control, records](ArchiveDatabase& db, const ArchiveJob::Going&) {
            return QcStore(db).Records(control, *records);
        })) {
        return false;
    }
    m_shownFrom.reset();
    m_shownTo.reset();
    if (chkPeriod->isChecked()) {
        m_shownFrom = dtpFrom->date();
        m_shownTo = dtpTo->date();
    }
    picChart->SetJudgement(control, QcJudge::Judge(control, *records, m_shownFrom, m_shownTo));
    ShowPoints();
    return true;
}

void frmQualityControl::ShowPoints() {
    const QcJudgement& judged = picChart->Judgement();
    grdPoints->setSortingEnabled(false);
    grdPoints->setRowCount(int(judged.points.size()));
    for (int i = 0; i < judged.points.size(); ++i) {
        const QcPoint& p = judged.points[i];
        const QStringList cells = QcReport::Cells(p);
        grdPoints->setItem(i, 0, Cell(cells[0]));
        grdPoints->setItem(i, 1, Cell(cells[1]));
        grdPoints->setItem(i, 2, Cell(cells[2], *p.record.value1));
        grdPoints->setItem(i, 3, Cell(cells[3], p.z));
        grdPoints->setItem(i, 4, Cell(cells[4]));
        const QcChart::Level level = QcChart::LevelOf(p.flags);
        if (level != QcChart::Level::Pass) {
            const QColor tint =
                level == QcChart::Level::Rejection ? QColor(255, 205, 205) : QColor(255, 230, 190);
            for (int c = 0; c < grdPoints->columnCount(); ++c) {
                grdPoints->item(i, c)->setBackground(tint);
            }
        }
    }
    grdPoints->setSortingEnabled(true);
    // In time order first, as the chart reads; any column sorts on a click.
    grdPoints->sortItems(1, Qt::AscendingOrder);
    grdPoints->resizeColumnsToContents();
    lblCounts->setText(QcReport::CountsText(judged));
}

void frmQualityControl::CopyPoints() {
    // The selected rows in the table's order, or every row when none is selected.
    QList<int> rows;
    for (const QModelIndex& index : grdPoints->selectionModel()->selectedRows()) {
        rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty()) {
        for (int r = 0; r < grdPoints->rowCount(); ++r) {
            rows << r;
        }
    }
    rows.prepend(-1); // the titles
    TableCopyText copy{QString(), QStringLiteral("<table>")};
    for (const int r : rows) {
        QStringList cells;
        QStringList escaped;
        for (int c = 0; c < grdPoints->columnCount(); ++c) {
            cells << (r < 0 ? grdPoints->horizontalHeaderItem(c)->text()
                            : grdPoints->item(r, c)->text());
            escaped << cells.last().toHtmlEscaped();
        }
        copy.tsv += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
        copy.html +=
            QStringLiteral("<tr><td>%1</td></tr>").arg(escaped.join(QStringLiteral("</td><td>")));
    }
    copy.html += QStringLiteral("</table>");
    PutOnClipboard(copy);
}

void frmQualityControl::SaveChart() {
    if (picChart->Chart().IsEmpty()) {
        return;
    }
    const QString name =
        lstControls->currentItem() ? lstControls->currentItem()->text() : QString();
    const std::optional<QString> path = AskPlotFile(m_services.ui, QStringLiteral("png"), name);
    if (path && !picChart->SaveImage(*path, kImageSize)) {
        m_services.ui.Message(
            QStringLiteral("%1: %2").arg(*path, RunTimeText(RtError::PathFileAccess)),
            LoadResString(1033), MsgIcon::Critical);
    }
}

std::optional<Printout> frmQualityControl::ReportPrintout() const {
    if (m_work.Running() || picChart->Control().name.isEmpty()) {
        return std::nullopt;
    }
    Printout printout;
    // The pages are made of what the window shows when they are printed.
    printout.print = [this](LinePrinter& printer) {
        const auto chart = [this](QPainter& painter, const QRectF& box) {
            picChart->Render(painter, box);
        };
        return m_services.print.PrintReport(
            printer, QcReport::Content(picChart->Control(), picChart->Judgement(), m_shownFrom,
                                       m_shownTo, chart));
    };
    printout.pdfName = picChart->Control().name;
    return printout;
}

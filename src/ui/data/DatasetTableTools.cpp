#include "ui/data/DatasetTableTools.h"

#include "app/TextTables.h"
#include "data/RecordDateTime.h"
#include "ui/app/AppMenus.h"
#include "ui/app/Controls.h"
#include "ui/data/DatasetFilterBar.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/TableClipboard.h"
#include "ui/data/frmStatistics.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>

DatasetTableTools::DatasetTableTools(QWidget& document, QTableView& table, MValTableModel& model)
    : QObject(&document), m_document(document), m_table(table), m_model(model) {
    m_proxy = new MValTableProxy(model, this);
    m_table.setModel(m_proxy);
    m_filterBar = new DatasetFilterBar(&document);
    m_filterBar->hide();
    m_count = NewControl<QLabel>(&document, "lblRecordCount");
    SetUpLook();
    SetUpSorting();
    BuildContextMenu();
    connect(m_filterBar, &DatasetFilterBar::FilterChanged, m_proxy, &MValTableProxy::SetFilter);
    connect(m_filterBar, &DatasetFilterBar::Closed, this, [this] {
        m_table.setFocus();
        emit BarToggled();
    });
    connect(m_proxy, &MValTableProxy::ShownChanged, this, [this] {
        UpdateCount();
        if (m_statistics) {
            m_statistics->SetRecords(m_proxy->CountedLines());
        }
    });
    UpdateCount();
}

void DatasetTableTools::SetUpLook() {
    m_table.verticalHeader()->hide();
    m_table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table.setWordWrap(false);
    // Fixed row heights let the view lay out 100 000 rows without measuring each one.
    m_table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table.verticalHeader()->setDefaultSectionSize(m_table.fontMetrics().height() + 4);
    m_table.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

// Qt's header cycles through ascending, descending and no order when its indicator may be
// cleared; the view hands each step to the proxy, column -1 being the meter's order.
void DatasetTableTools::SetUpSorting() {
    QHeaderView* header = m_table.horizontalHeader();
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSectionsClickable(true);
    header->setToolTip(LoadResString(1729));
    m_table.setSortingEnabled(true);
}

void DatasetTableTools::BuildContextMenu() {
    m_contextMenu = new QMenu(&m_table);
    m_contextMenu->setObjectName(QStringLiteral("mnuTableContext"));
    const auto add = [this](int text, const QKeySequence& keys, auto slot) {
        QAction* action = m_contextMenu->addAction(LoadResString(text), this, slot);
        action->setShortcut(keys);
        action->setShortcutVisibleInContextMenu(!keys.isEmpty());
        // The menu's own entries: the menu bar's entries carry the working shortcuts.
        action->setShortcutContext(Qt::WidgetShortcut);
        return action;
    };
    add(1701, QKeySequence::Copy, [this] { Copy(false); });
    add(1702, QKeySequence(), [this] { Copy(true); });
    add(1703, QKeySequence::SelectAll, [this] { SelectAll(); });
    m_contextMenu->addSeparator();
    add(1704, QKeySequence::Find, [this] { Find(); });
    add(1631, QKeySequence(), [this] { ShowStatistics(); });
    m_table.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        m_contextMenu->popup(m_table.viewport()->mapToGlobal(at));
    });
}

void DatasetTableTools::ConnectMenus(const AppMenus& menus) {
    connect(menus.mnuEditCopy, &QAction::triggered, this, [this] { Copy(false); });
    connect(menus.mnuEditCopyRaw, &QAction::triggered, this, [this] { Copy(true); });
    connect(menus.mnuEditSelectAll, &QAction::triggered, this, &DatasetTableTools::SelectAll);
    connect(menus.mnuEditFind, &QAction::triggered, this, &DatasetTableTools::Find);
    connect(menus.mnuStatistics, &QAction::triggered, this, &DatasetTableTools::ShowStatistics);
}

// The entries keep their menu-only shortcut context: added to the table, they answer while
// the table has the focus, and the search fields around it keep their own Ctrl+C.
void DatasetTableTools::UseOwnShortcuts() {
    for (QAction* action : m_contextMenu->actions()) {
        if (!action->shortcut().isEmpty()) {
            m_table.addAction(action);
        }
    }
}

void DatasetTableTools::SetLayout(const ExportLayout& layout) {
    m_layout = layout;
    m_proxy->SetColumns(layout.record);
    if (m_statistics) {
        m_statistics->SetColumns(m_proxy->Columns(), m_layout.titles);
    }
}

void DatasetTableTools::SetLimits(const LimitFlags& limits) {
    m_proxy->SetLimits(limits);
    if (m_statistics) {
        m_statistics->SetLimits(limits);
    }
}

// The filter bar's program list takes a pass over every record: a million of them would
// double the time a file takes to show, so the list is made when the bar opens (a hidden
// bar filters nothing), or at once while it is open.
void DatasetTableTools::RecordsShown() {
    m_filterBarFilled = false;
    if (!m_filterBar->isHidden()) {
        FillFilterBar();
    }
    UpdateCount();
    if (m_statistics) {
        m_statistics->SetRecords(m_proxy->CountedLines());
    }
}

void DatasetTableTools::FillFilterBar() {
    const QList<QStringView> lines = m_model.Lines();
    QDate first;
    QDate last;
    const int dateColumn = m_proxy->Columns().Date();
    if (!lines.isEmpty() && dateColumn >= 0) {
        const auto date = [&](QStringView line) {
            return RecordDate(RecordField(line, dateColumn).trimmed()).value_or(QDate());
        };
        first = date(lines.front());
        last = date(lines.back());
    }
    m_filterBar->SetDataset(RecordGroups(lines, m_proxy->Columns()), first, last);
    m_filterBarFilled = true;
}

void DatasetTableTools::UpdateCount() {
    m_count->setText(LoadResString(1705).arg(m_proxy->ShownCount()).arg(m_proxy->RecordCount()));
}

void DatasetTableTools::Copy(bool raw) {
    const QItemSelectionModel* selection = m_table.selectionModel();
    if (selection == nullptr || !selection->hasSelection() || m_proxy->RecordCount() == 0) {
        return;
    }
    PutOnClipboard(CopySelection(*m_proxy, *selection, m_model.Titles(), raw));
}

void DatasetTableTools::SelectAll() {
    m_table.selectAll();
}

void DatasetTableTools::Find() {
    if (!m_filterBarFilled) {
        FillFilterBar();
    }
    m_filterBar->Open();
    emit BarToggled();
}

frmStatistics* DatasetTableTools::Statistics() const {
    return m_statistics;
}

void DatasetTableTools::ShowStatistics() {
    if (!m_statistics) {
        m_statistics = new frmStatistics(&m_document);
        m_statistics->setWindowFlag(Qt::Window);
        m_statistics->SetColumns(m_proxy->Columns(), m_layout.titles);
        m_statistics->SetLimits(m_proxy->Limits());
        m_statistics->SetRecords(m_proxy->CountedLines());
    }
    m_statistics->show();
    m_statistics->raise();
    m_statistics->activateWindow();
}

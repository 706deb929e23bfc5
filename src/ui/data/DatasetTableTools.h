#pragma once

#include "data/ExportSheet.h"

#include <QObject>
#include <QPointer>

struct AppMenus;
class DatasetFilterBar;
class LimitFlags;
class frmStatistics;
class MValTableModel;
class MValTableProxy;
class QLabel;
class QMenu;
class QTableView;
class QWidget;

// What makes a table of records a working tool, in a document and in the archive window:
// sorting by a column title (ascending, descending, the meter's order), the filter bar with
// the count of the records shown, copying the selection, and the statistics of the records
// shown. The dataset and the model underneath keep the meter's order. The owner places the
// filter bar and the count label.
class DatasetTableTools : public QObject {
    Q_OBJECT
public:
    DatasetTableTools(QWidget& document, QTableView& table, MValTableModel& model);

    // Wires the document's edit menu and its statistics entry.
    void ConnectMenus(const AppMenus& menus);
    // For a window without that menu: the context menu's shortcuts work in the table.
    void UseOwnShortcuts();
    // Before a new dataset fills the table: its layout (no layout: an empty table).
    void SetLayout(const ExportLayout& layout);
    // After the table holds the new records: the count, the statistics and, when the bar
    // is open, the filter's lists (else they wait until it opens).
    void RecordsShown();
    // The limit values of the records' programs, whenever they arrive: the table colours the
    // values beyond them, the filter and the statistics follow.
    void SetLimits(const LimitFlags& limits);

    void Copy(bool raw);
    void SelectAll();
    void Find();
    void ShowStatistics();

    MValTableProxy& Proxy() { return *m_proxy; }
    DatasetFilterBar& FilterBar() { return *m_filterBar; }
    QLabel& CountLabel() { return *m_count; }
    frmStatistics* Statistics() const;

signals:
    // The filter bar appeared or went: the document lays its table out again.
    void BarToggled();

private:
    void SetUpLook();
    void SetUpSorting();
    void BuildContextMenu();
    void FillFilterBar();
    void UpdateCount();

    QWidget& m_document;
    QTableView& m_table;
    MValTableModel& m_model;
    MValTableProxy* m_proxy = nullptr;
    DatasetFilterBar* m_filterBar = nullptr;
    QLabel* m_count = nullptr;
    QMenu* m_contextMenu = nullptr;
    QPointer<frmStatistics> m_statistics;
    ExportLayout m_layout;
    bool m_filterBarFilled = false; // its lists are those of the records shown
};

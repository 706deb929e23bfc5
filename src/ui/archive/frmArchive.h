#pragma once

#include "archive/ArchiveJob.h"
#include "archive/ArchiveQuery.h"
#include "data/MValSet.h"
#include "ui/archive/ArchiveServices.h"
#include "ui/archive/ArchiveWindowWork.h"

#include <QWidget>
#include <functional>
#include <optional>

struct ExportLayout;

class DatasetTableTools;
class DocumentHost;
class MenuCommands;
class MValTableModel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
struct ArchiveFound;

// The archive's search window: filters by period, meter serial number, program, sample ID
// and user; the count of matching records and, for one meter model at a time, the records
// (at most kMaxRows) in the document's table with its sorting, filter bar and copying, and
// the meter's serial number and the user beside each. What the table shows opens as a
// document of that model. The database is read off the window's thread under the runner's
// wait dialog, so the program keeps painting and the user can stop waiting; a result too
// large to hold can be exported instead. The last search is kept in the user's settings
// and runs again when the window opens. A button opens the main menu's Quality control window.
class frmArchive : public QWidget {
    Q_OBJECT
public:
    // The most records the table holds: beyond them the window says so and offers the export.
    static constexpr qsizetype kMaxRows = 200000;
    // A document of more records asks first: it takes long to show and much memory.
    static constexpr qsizetype kLargeDocument = 50000;

    frmArchive(DocumentHost& documents, MenuCommands& menus, ArchiveServices services,
               QWidget* parent = nullptr);
    ~frmArchive() override;

    QCheckBox* chkPeriod = nullptr;
    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QLineEdit* txtSerial = nullptr;
    QLineEdit* txtProgram = nullptr;
    QLineEdit* txtSampleId = nullptr;
    QLineEdit* txtUser = nullptr;
    QComboBox* cboModel = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdOpenDocument = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdQualityControl = nullptr;
    QLabel* lblCount = nullptr;
    QTableView* grdRecords = nullptr;
    MValTableModel* Model() const { return m_model; }
    DatasetTableTools& TableTools() { return *m_tools; }

    // Runs the filters against the archive and keeps them as the last search; false (after
    // one message) when it cannot, or when the user stopped it.
    bool Search();
    // The search the user ran last, when there is one.
    void RunLastSearch();
    // The records the table shows, in the archive's order.
    void OpenAsDocument();
    // Every record the filters find, of every model, into a CSV file the user chooses.
    bool Export();
    // Holds at most `rows` records from the next search on (kMaxRows unless told).
    void SetMaxRows(qsizetype rows) { m_maxRows = rows; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend struct ArchiveFound; // a search's result, filled off the window's thread
    void BuildWindow();
    // The filters; nothing (after a message) when the program field holds no number.
    std::optional<ArchiveFilter> Filter() const;
    void StoreSearch() const;
    void LoadSearch();
    // Shows the matching records of the model chosen in cboModel.
    bool ShowModel();
    // Reads the count, the models and the records of `model` (else the first model).
    bool Load(const ArchiveFilter& filter, const QString& model);
    // Runs archive work under the runner, stopped when the window closes; false when it
    // failed (after one message) or was stopped, or the window is gone.
    void ShowFound(ArchiveFound& found);
    // The table of the held records, whose lines follow one another in `lines`.
    void ShowRecords(const ExportLayout& layout, const QString& lines);
    void Report(const QString& error);

    DocumentHost& m_documents;
    MenuCommands& m_menus;
    ArchiveServices m_services;
    ArchiveWindowWork m_work;
    MValTableModel* m_model = nullptr;
    DatasetTableTools* m_tools = nullptr;
    QString m_shownModel;
    QString m_archive; // where the shown records were read
    // Row k of the model: what the window keeps of record k beside the table's text, whose
    // line k starts with the record's own line; enough to open rows as a document.
    struct HeldRecord {
        qsizetype lineLength = 0;
        int origin = 0; // in m_origins
        std::optional<QDateTime> measuredAt;
        qint64 recordId = 0, importId = 0; // what a document opened of it keeps
        bool valid = true;
        QString invalidReason{};
    };
    QList<HeldRecord> m_held;
    QList<RecordOrigin> m_origins; // each meter and user once
    qsizetype m_modelCount = 0;    // the records of the shown model, held or not
    qsizetype m_maxRows = kMaxRows;
};

#pragma once

#include "archive/ArchiveQuery.h"
#include "ui/archive/ArchiveServices.h"

#include <QWidget>

class DatasetTableTools;
class DocumentHost;
class MValTableModel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// The archive's search window: filters by period, meter serial number, program, sample ID
// and user; the count of matching records and, for one meter model at a time, the records
// in the document's table with its sorting, filter bar and copying. What the table shows
// opens as a document of that model.
class frmArchive : public QWidget {
    Q_OBJECT
public:
    frmArchive(DocumentHost& documents, ArchiveServices services, QWidget* parent = nullptr);

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
    QLabel* lblCount = nullptr;
    QTableView* grdRecords = nullptr;
    MValTableModel* Model() const { return m_model; }
    DatasetTableTools& TableTools() { return *m_tools; }

    // Runs the filters against the archive; false (after one message) when it cannot.
    bool Search();
    // The records the table shows, in the archive's order.
    void OpenAsDocument();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildWindow();
    ArchiveFilter Filter() const;
    // Shows the matching records of the model chosen in cboModel.
    bool ShowModel();
    void Report(const QString& error);

    DocumentHost& m_documents;
    ArchiveServices m_services;
    MValTableModel* m_model = nullptr;
    DatasetTableTools* m_tools = nullptr;
    QString m_shownModel;
    QString m_archive;               // where the shown records were read
    QList<ArchivedRecord> m_records; // row k of the model is record k
};

#pragma once

#include "data/ExportSheet.h"
#include "data/MValSet.h"

#include <QDialog>
#include <QSize>

class DatasetGraphView;
class QComboBox;
class QLabel;
class QPushButton;
class Services;

// The "Graphique" view of a document: a value column of its records against their date and
// time, one series per program or parameter, saved as a PNG picture on request. It belongs
// to its document window (closed and gone with it) and shows the document's dataset; the
// document hands it a new dataset after an import or an opened file.
class frmDocumentGraph : public QDialog {
    Q_OBJECT
public:
    frmDocumentGraph(Services& services, QWidget* parent);

    // Shows `mvals`; the chosen column stays when the table layout does.
    void SetDataset(const MValSet& mvals);
    // Asks for a file and writes the graph as a PNG picture of kImageSize.
    void SaveGraph();

    static constexpr QSize kImageSize{1200, 750};

    QLabel* lblGraphColumn = nullptr;
    QComboBox* cboGraphColumn = nullptr;
    QPushButton* cmdSaveGraph = nullptr;
    QPushButton* cmdClose = nullptr;
    DatasetGraphView* picGraph = nullptr;
    QLabel* lblGraphNote = nullptr;

private:
    void ShowColumn();

    Services& m_services;
    MValSet m_mvals;
    ExportLayout m_layout;
};

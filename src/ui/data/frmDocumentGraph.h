#pragma once

#include "data/DatasetGraph.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"

#include <QDialog>
#include <QSize>

class DatasetGraphView;
class QComboBox;
class QLabel;
class BusyState;
class CDevice;
class QPushButton;
class Ui;

// The "Graphique" view of a document: a value column of its records against their date and
// time, one series per program or parameter, saved as a PNG picture on request. It belongs
// to its document window (closed and gone with it) and shows the document's dataset; the
// document hands it a new dataset after an import or an opened file.
class frmDocumentGraph : public QDialog {
    Q_OBJECT
public:
    frmDocumentGraph(Ui& ui, BusyState& busy, const CDevice& device, QWidget* parent);

    // Shows the records `lines` (those the table shows, views into `mvals`); the chosen
    // column and program stay when they are still there.
    void SetDataset(const MValSet& mvals, const QList<QStringView>& lines);
    // Asks for a file and writes the graph as a PNG picture of kImageSize.
    void SaveGraph();

    static constexpr QSize kImageSize{1200, 750};

    QLabel* lblGraphColumn = nullptr;
    QComboBox* cboGraphColumn = nullptr;
    QLabel* lblGraphSeries = nullptr;
    QComboBox* cboGraphSeries = nullptr; // every program together, or one on its own scale
    QPushButton* cmdSaveGraph = nullptr;
    QPushButton* cmdClose = nullptr;
    DatasetGraphView* picGraph = nullptr;
    QLabel* lblGraphNote = nullptr;

private:
    void ShowColumn();
    void ShowSeries();
    void ShowNote(const DatasetGraph& part);
    QString RecordText(int row) const;

    Ui& m_ui;
    const CDevice& m_device;
    MValSet m_mvals;
    ExportLayout m_layout;
    QList<QStringView> m_lines;
    DatasetGraph m_graph; // every series of the column
};

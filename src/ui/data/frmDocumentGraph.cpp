#include "ui/data/frmDocumentGraph.h"

#include "app/ErrorTrap.h"
#include "app/Services.h"
#include "app/StringTable.h"
#include "data/DatasetGraph.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/BusyContent.h"
#include "ui/app/Controls.h"
#include "ui/app/Pictures.h"
#include "ui/app/PlotPainting.h"
#include "ui/data/DatasetGraphView.h"
#include "ui/data/frmDocument.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmDocumentGraph::frmDocumentGraph(Services& services, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmDocumentGraph"));
    setProperty("Tag", QStringLiteral("1300"));
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(true);
    QWidget* content = NewBusyContent(*this, services.busy);
    lblGraphColumn = NewControl<QLabel>(content, "lblGraphColumn", "1301");
    cboGraphColumn = NewControl<QComboBox>(content, "cboGraphColumn");
    lblGraphColumn->setBuddy(cboGraphColumn);
    cmdSaveGraph = NewControl<QPushButton>(content, "cmdSaveGraph", "1247");
    cmdClose = NewControl<QPushButton>(content, "cmdClose", "1003");
    cmdSaveGraph->setAutoDefault(false);
    cmdClose->setAutoDefault(false);
    picGraph = new DatasetGraphView(content);
    lblGraphNote = NewControl<QLabel>(content, "lblGraphNote");

    auto* bar = new QHBoxLayout;
    bar->addWidget(lblGraphColumn);
    bar->addWidget(cboGraphColumn);
    bar->addStretch(1);
    bar->addWidget(cmdSaveGraph);
    bar->addWidget(cmdClose);
    auto* column = new QVBoxLayout(content);
    column->addLayout(bar);
    column->addWidget(picGraph, 1);
    column->addWidget(lblGraphNote);
    ApplyCaptions(this);
    resize(1000, 640);

    connect(cboGraphColumn, &QComboBox::currentIndexChanged, this, [this] { ShowColumn(); });
    ConnectCommand(cmdSaveGraph, this, services.busy, &frmDocumentGraph::SaveGraph);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void frmDocumentGraph::SetDataset(const MValSet& mvals) {
    TrappedVoid(m_services.ui, [&] {
        const QString chosen = cboGraphColumn->currentText();
        m_mvals = mvals;
        m_layout = ExportLayoutFor(m_services, mvals.strMeter);
        const QSignalBlocker quiet(cboGraphColumn);
        cboGraphColumn->clear();
        for (const int c : GraphColumns(m_layout)) {
            cboGraphColumn->addItem(m_layout.titles[c], c);
        }
        // The first value column unless the one shown before is still there.
        cboGraphColumn->setCurrentIndex(std::max(0, cboGraphColumn->findText(chosen)));
    });
    ShowColumn();
}

void frmDocumentGraph::ShowColumn() {
    TrappedVoid(m_services.ui, [&] {
        const int column =
            cboGraphColumn->currentData().isValid() ? cboGraphColumn->currentData().toInt() : -1;
        const DatasetGraph graph = MakeDatasetGraph(m_mvals.strMVals, m_layout, column);
        picGraph->SetGraph(graph, LoadResString(1302));
        cmdSaveGraph->setEnabled(!graph.IsEmpty());
        if (graph.IsEmpty()) {
            lblGraphNote->setText(LoadResString(1304));
        } else if (graph.skipped > 0) {
            lblGraphNote->setText(LoadResString(1303).arg(graph.skipped));
        } else {
            lblGraphNote->clear();
        }
    });
}

void frmDocumentGraph::SaveGraph() {
    TrappedVoid(m_services.ui, [&] {
        if (picGraph->Graph().IsEmpty()) {
            return;
        }
        const std::optional<QString> path =
            AskPlotFile(m_services.ui, QStringLiteral("png"), m_mvals.strMeter);
        if (path && !picGraph->SaveImage(*path, kImageSize)) {
            ThrowPlotNotSaved(*path);
        }
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
                m_graph = new frmDocumentGraph(m_services, this);
            }
            m_graph->SetDataset(m_mvals);
            m_graph->show();
            m_graph->raise();
            m_graph->activateWindow();
        });
    });
}

void frmDocument::RefreshGraph(bool shown) {
    if (m_graph != nullptr) {
        m_graph->SetDataset(shown ? m_mvals : MValSet());
    }
}

#include "ui/data/frmDocumentGraph.h"

#include "app/ErrorTrap.h"
#include "app/TextTables.h"
#include "data/DatasetGraph.h"
#include "data/RecordColumns.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/BusyContent.h"
#include "ui/app/Controls.h"
#include "ui/app/HelpContext.h"
#include "ui/app/Pictures.h"
#include "ui/app/PlotPainting.h"
#include "ui/data/DatasetGraphView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmDocumentGraph::frmDocumentGraph(Ui& ui, BusyState& busy, const CDevice& device, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_device(device) {
    setObjectName(QStringLiteral("frmDocumentGraph"));
    setProperty("Tag", QStringLiteral("1300"));
    SetHelpContext(this, HelpContext::kGraph);
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(true);
    QWidget* content = NewBusyContent(*this, busy);
    lblGraphColumn = NewControl<QLabel>(content, "lblGraphColumn", "1301");
    cboGraphColumn = NewControl<QComboBox>(content, "cboGraphColumn");
    lblGraphColumn->setBuddy(cboGraphColumn);
    lblGraphSeries = NewControl<QLabel>(content, "lblGraphSeries", "1731");
    cboGraphSeries = NewControl<QComboBox>(content, "cboGraphSeries");
    lblGraphSeries->setBuddy(cboGraphSeries);
    cmdSaveGraph = NewControl<QPushButton>(content, "cmdSaveGraph", "1247");
    cmdClose = NewControl<QPushButton>(content, "cmdClose", "1003");
    cmdSaveGraph->setAutoDefault(false);
    cmdClose->setAutoDefault(false);
    picGraph = new DatasetGraphView(content);
    lblGraphNote = NewControl<QLabel>(content, "lblGraphNote");

    auto* bar = new QHBoxLayout;
    bar->addWidget(lblGraphColumn);
    bar->addWidget(cboGraphColumn);
    bar->addWidget(lblGraphSeries);
    bar->addWidget(cboGraphSeries);
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
    connect(cboGraphSeries, &QComboBox::currentIndexChanged, this, [this] { ShowSeries(); });
    picGraph->SetRecordText([this](int row) { return RecordText(row); });
    picGraph->setToolTip(LoadResString(1733));
    ConnectCommand(cmdSaveGraph, this, busy, &frmDocumentGraph::SaveGraph);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void frmDocumentGraph::SetDataset(const MValSet& mvals, const QList<QStringView>& lines) {
    TrappedVoid(m_ui, [&] {
        const QString chosen = cboGraphColumn->currentText();
        m_mvals = mvals;
        m_lines = lines;
        m_layout = ExportLayoutFor(m_device, mvals.strMeter);
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
    TrappedVoid(m_ui, [&] {
        const int column =
            cboGraphColumn->currentData().isValid() ? cboGraphColumn->currentData().toInt() : -1;
        m_graph = MakeDatasetGraph(m_lines, m_layout, column);
        const QString chosen = cboGraphSeries->currentText();
        {
            const QSignalBlocker quiet(cboGraphSeries);
            cboGraphSeries->clear();
            cboGraphSeries->addItem(LoadResString(1720));
            for (const GraphSeries& s : m_graph.series) {
                cboGraphSeries->addItem(s.name);
            }
            // One program on its own scale unless the user chose otherwise: the values of
            // different methods and units rarely share a useful axis.
            const int found = cboGraphSeries->findText(chosen);
            cboGraphSeries->setCurrentIndex(found >= 0 ? found
                                                       : std::min(1, cboGraphSeries->count() - 1));
        }
        cmdSaveGraph->setEnabled(!m_graph.IsEmpty());
        ShowSeries();
    });
}

void frmDocumentGraph::ShowSeries() {
    const int chosen = cboGraphSeries->currentIndex() - 1;
    QList<bool> shown(m_graph.series.size(), chosen < 0);
    if (chosen >= 0 && chosen < shown.size()) {
        shown[chosen] = true;
    }
    const DatasetGraph part = PartOfGraph(m_graph, shown);
    picGraph->SetGraph(part, LoadResString(1302));
    ShowNote(part);
}

// What the graph shown leaves out or marks, counted over its own records only.
void frmDocumentGraph::ShowNote(const DatasetGraph& part) {
    if (m_graph.IsEmpty()) {
        lblGraphNote->setText(LoadResString(1304));
        return;
    }
    QStringList lines;
    if (part.skipped > 0) {
        lines.append(LoadResString(1303).arg(part.skipped));
    }
    if (part.flagged > 0) {
        lines.append(LoadResString(1637).arg(part.flagged));
    }
    lblGraphNote->setText(lines.join(QLatin1Char('\n')));
}

// No, date, time, value with its unit and the ID of the record under the mouse, and the
// state of a flagged value.
QString frmDocumentGraph::RecordText(int row) const {
    if (row < 0 || row >= m_lines.size()) {
        return QString();
    }
    const int column = cboGraphColumn->currentData().toInt();
    const QStringView line = m_lines[row];
    const auto field = [&](int c) {
        return c < 0 ? QString() : RecordField(line, c).trimmed().toString();
    };
    const RecordLayout& columns = m_layout.record;
    const QString text = LoadResString(1734).arg(
        field(columns.Number()), field(columns.Date()), field(columns.Time()), field(column),
        field(columns.UnitOf(column)), field(columns.Id()));
    const int stateColumn = columns.StateOf(column);
    if (stateColumn < 0 || ValueStateOf(RecordField(line, stateColumn)) != ValueState::Flagged) {
        return text;
    }
    return LoadResString(1638).arg(text, field(stateColumn));
}

void frmDocumentGraph::SaveGraph() {
    TrappedVoid(m_ui, [&] {
        if (picGraph->Graph().IsEmpty()) {
            return;
        }
        const std::optional<QString> path =
            AskPlotFile(m_ui, QStringLiteral("png"), m_mvals.strMeter);
        if (path && !picGraph->SaveImage(*path, kImageSize)) {
            ThrowPlotNotSaved(*path);
        }
    });
}

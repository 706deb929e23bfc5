#include "ui/archive/frmArchive.h"

#include "app/TextTables.h"
#include "app/Ui.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveExtract.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordWalker.h"
#include "ui/app/DateFields.h"
#include "ui/app/DocumentHost.h"
#include "ui/app/HelpContext.h"
#include "ui/data/ColumnWidths.h"
#include "ui/data/DatasetFilterBar.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/MValTableProxy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

namespace {

QLabel* Caption(int string, QWidget* buddy) {
    auto* label = new QLabel(LoadResString(string));
    label->setBuddy(buddy);
    return label;
}

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

frmArchive::frmArchive(DocumentHost& documents, ArchiveServices services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_documents(documents), m_services(services) {
    setObjectName(QStringLiteral("frmArchive"));
    setWindowTitle(LoadResString(1652));
    SetHelpContext(this, HelpContext::kArchive);
    BuildWindow();
    resize(1000, 600);
}

void frmArchive::BuildWindow() {
    const QDate today = QDate::currentDate();
    chkPeriod = Named(new QCheckBox(LoadResString(1660)), "chkPeriod");
    dtpFrom = Named(new QDateEdit(today.addMonths(-1)), "dtpFrom");
    dtpTo = Named(new QDateEdit(today), "dtpTo");
    for (QDateEdit* date : {dtpFrom, dtpTo}) {
        date->setCalendarPopup(true);
        UseProgramDateForm(*date);
        date->setEnabled(false);
        connect(chkPeriod, &QCheckBox::toggled, date, &QWidget::setEnabled);
    }
    txtSerial = Named(new QLineEdit, "txtSerial");
    txtProgram = Named(new QLineEdit, "txtProgram");
    txtSampleId = Named(new QLineEdit, "txtSampleId");
    txtUser = Named(new QLineEdit, "txtUser");
    cboModel = Named(new QComboBox, "cboModel");
    cmdSearch = Named(new QPushButton(LoadResString(1667)), "cmdSearch");
    cmdOpenDocument = Named(new QPushButton(LoadResString(1668)), "cmdOpenDocument");
    cmdOpenDocument->setEnabled(false);
    lblCount = Named(new QLabel, "lblCount");
    m_model = new MValTableModel(this);
    grdRecords = Named(new QTableView(this), "grdRecords");
    m_tools = new DatasetTableTools(*this, *grdRecords, *m_model);
    m_tools->UseOwnShortcuts();

    auto* grid = new QGridLayout(this);
    grid->addWidget(chkPeriod, 0, 0);
    grid->addWidget(dtpFrom, 0, 1);
    grid->addWidget(Caption(1661, dtpTo), 0, 2);
    grid->addWidget(dtpTo, 0, 3);
    grid->addWidget(Caption(1662, txtSerial), 0, 4);
    grid->addWidget(txtSerial, 0, 5);
    grid->addWidget(Caption(1663, txtProgram), 0, 6);
    grid->addWidget(txtProgram, 0, 7);
    grid->addWidget(Caption(1664, txtSampleId), 1, 0);
    grid->addWidget(txtSampleId, 1, 1);
    grid->addWidget(Caption(1665, txtUser), 1, 2);
    grid->addWidget(txtUser, 1, 3);
    grid->addWidget(cmdSearch, 1, 7);
    grid->addWidget(Caption(1666, cboModel), 2, 0);
    grid->addWidget(cboModel, 2, 1, 1, 3);
    grid->addWidget(lblCount, 2, 4, 1, 2);
    grid->addWidget(cmdOpenDocument, 2, 7);
    grid->addWidget(&m_tools->FilterBar(), 3, 0, 1, 8);
    grid->addWidget(grdRecords, 4, 0, 1, 8);
    grid->addWidget(&m_tools->CountLabel(), 5, 0, 1, 8);
    grid->setRowStretch(4, 1);

    connect(cmdSearch, &QPushButton::clicked, this, &frmArchive::Search);
    for (QLineEdit* edit : {txtSerial, txtProgram, txtSampleId, txtUser}) {
        connect(edit, &QLineEdit::returnPressed, this, &frmArchive::Search);
    }
    connect(cboModel, &QComboBox::activated, this, &frmArchive::ShowModel);
    connect(cmdOpenDocument, &QPushButton::clicked, this, &frmArchive::OpenAsDocument);
    connect(&m_tools->Proxy(), &MValTableProxy::ShownChanged, this,
            [this] { cmdOpenDocument->setEnabled(m_tools->Proxy().ShownCount() > 0); });
}

// Escape closes the filter bar first (its own fields do so themselves), then the window,
// from whichever field it comes.
void frmArchive::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (m_tools->FilterBar().isVisible()) {
            m_tools->FilterBar().Close();
        } else {
            close();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

ArchiveFilter frmArchive::Filter() const {
    ArchiveFilter filter;
    if (chkPeriod->isChecked()) {
        filter.from = dtpFrom->date();
        filter.to = dtpTo->date();
    }
    filter.serial = txtSerial->text().trimmed();
    bool number = false;
    const qint64 program = txtProgram->text().trimmed().toLongLong(&number);
    if (number) {
        filter.program = program;
    }
    filter.sampleId = txtSampleId->text().trimmed();
    filter.user = txtUser->text().trimmed();
    return filter;
}

void frmArchive::Report(const QString& error) {
    m_services.ui.Message(error, LoadResString(1033), MsgIcon::Critical);
}

bool frmArchive::Search() {
    ArchiveDatabase db;
    qint64 count = 0;
    QStringList models;
    if (!db.Open(ArchiveSettings::Read(m_services.ini)) ||
        !ArchiveQuery(db).Count(Filter(), count) || !ArchiveQuery(db).Models(Filter(), models)) {
        Report(db.Error());
        return false;
    }
    lblCount->setText(LoadResString(1669).arg(count));
    // Datasets of different models have different columns: one model at a time.
    const QString chosen = cboModel->currentText();
    cboModel->clear();
    cboModel->addItems(models);
    cboModel->setCurrentIndex(std::max(0, int(models.indexOf(chosen))));
    return ShowModel();
}

bool frmArchive::ShowModel() {
    m_records.clear();
    m_shownModel = cboModel->currentText();
    m_tools->SetLayout(ExportLayout());
    m_model->Reset(0, 0);
    m_tools->RecordsShown();
    if (m_shownModel.isEmpty()) {
        return true;
    }
    ArchiveFilter filter = Filter();
    filter.model = m_shownModel;
    ArchiveDatabase db;
    if (!db.Open(ArchiveSettings::Read(m_services.ini)) ||
        !ArchiveQuery(db).Records(filter, m_records)) {
        m_records.clear();
        Report(db.Error());
        return false;
    }
    m_archive = db.Target().Display();
    const ExportLayout layout = ExportLayoutFor(m_services.device, filter.model);
    QList<int> widths;
    for (int c = 0; c < layout.count; ++c) {
        widths << layout.record.Width(c);
    }
    m_tools->SetLayout(layout);
    m_model->SetColumns(layout.titles, widths);
    ApplyLayoutWidths(*grdRecords, widths);
    // Archived lines were record lines of a walk, so the walk gives one row per record.
    const QString text = ArchiveQuery::DatasetOf(m_shownModel, m_records).strMVals;
    QList<QStringView> lines;
    RecordWalker walker(text);
    QStringView line;
    while (walker.NextLine(line)) {
        lines << line;
    }
    m_model->SetRecords(text, lines);
    m_tools->RecordsShown();
    WidenClippedColumns(*grdRecords);
    return true;
}

// A sort only arranges the view, as in a document: the new document keeps the archive's
// order (measurement time) and holds the records the filter bar lets through.
void frmArchive::OpenAsDocument() {
    const MValTableProxy& proxy = m_tools->Proxy();
    QList<int> rows;
    for (int r = 0; r < proxy.ShownCount(); ++r) {
        rows << proxy.SourceRow(r);
    }
    std::ranges::sort(rows);
    QList<ArchivedRecord> shown;
    for (int row : rows) {
        shown << m_records.at(row);
    }
    if (shown.isEmpty()) {
        return;
    }
    MValSet set = ArchiveQuery::DatasetOf(m_shownModel, shown);
    m_documents.OpenDataset(set, ArchiveExtract::Of(m_archive, shown));
}

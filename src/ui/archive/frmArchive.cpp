#include "ui/archive/frmArchive.h"

#include "app/BusyState.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveExtract.h"
#include "archive/ArchiveOutput.h"
#include "archive/ArchiveTrail.h"
#include "archive/QcStore.h"
#include "archive/RecordValidity.h"
#include "archive/TraceText.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordWalker.h"
#include "meter/CLogin.h"
#include "ui/app/DateFields.h"
#include "ui/app/DocumentHost.h"
#include "ui/app/HelpContext.h"
#include "ui/app/MenuCommands.h"
#include "ui/app/StatusSink.h"
#include "ui/archive/ArchiveJournal.h"
#include "ui/archive/ImportDetails.h"
#include "ui/data/ColumnWidths.h"
#include "ui/data/DatasetFilterBar.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/MValTableProxy.h"
#include "ui/dialogs/frmReason.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <memory>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The last search, in the user's settings beside the program's other per-user state.
const QString kKeyPrefix = QStringLiteral("Settings/ArchiveSearch/");
const QString kSearchedKey = kKeyPrefix + QStringLiteral("Searched");
// The serial number's and the user's columns, in twips.
constexpr int kOriginWidth = 1000;

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

frmArchive::frmArchive(DocumentHost& documents, MenuCommands& menus, StatusSink& status,
                       ArchiveServices services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_documents(documents), m_menus(menus), m_status(status),
      m_services(services), m_work(services, *this) {
    setObjectName(QStringLiteral("frmArchive"));
    setWindowTitle(LoadResString(1652));
    SetHelpContext(this, HelpContext::kArchive);
    BuildWindow();
    resize(1200, 640);
    if (parent != nullptr) {
        // Centred on the program's window, whose records it is about.
        move(parent->frameGeometry().center() - rect().center());
    }
}

frmArchive::~frmArchive() = default;

void frmArchive::closeEvent(QCloseEvent* event) {
    if (!m_work.DeferClose(event)) {
        QWidget::closeEvent(event);
    }
}

void frmArchive::BuildWindow() {
    const QDate today = QDate::currentDate();
    chkPeriod = Named(new QCheckBox(LoadResString(1660)), "chkPeriod");
    dtpFrom = Named(new QDateEdit(today.addMonths(-1)), "dtpFrom");
    dtpTo = Named(new QDateEdit(today), "dtpTo");
    UsePeriodFields(*chkPeriod, *dtpFrom, *dtpTo);
    txtSerial = Named(new QLineEdit, "txtSerial");
    txtProgram = Named(new QLineEdit, "txtProgram");
    txtSampleId = Named(new QLineEdit, "txtSampleId");
    txtUser = Named(new QLineEdit, "txtUser");
    chkShowInvalid = Named(new QCheckBox(LoadResString(1858)), "chkShowInvalid");
    chkUnreviewed = Named(new QCheckBox(LoadResString(1859)), "chkUnreviewed");
    cboModel = Named(new QComboBox, "cboModel");
    cmdSearch = Named(new QPushButton(LoadResString(1667)), "cmdSearch");
    cmdOpenDocument = Named(new QPushButton(LoadResString(1668)), "cmdOpenDocument");
    cmdOpenDocument->setEnabled(false);
    cmdExport = Named(new QPushButton(LoadResString(1690)), "cmdExport");
    cmdQualityControl = Named(new QPushButton(LoadResString(1743)), "cmdQualityControl");
    cmdQualityControl->setToolTip(LoadResString(1744));
    cmdInvalidate = Named(new QPushButton(LoadResString(1855)), "cmdInvalidate");
    cmdRestore = Named(new QPushButton(LoadResString(1856)), "cmdRestore");
    cmdReview = Named(new QPushButton(LoadResString(1857)), "cmdReview");
    lblCount = Named(new QLabel, "lblCount");
    m_model = new MValTableModel(this);
    grdRecords = Named(new QTableView(this), "grdRecords");
    m_tools = new DatasetTableTools(*this, *grdRecords, *m_model);
    m_tools->UseOwnShortcuts();
    fraImport = new ImportDetails;
    tabJournal = new ArchiveJournal(m_work);

    auto* records = Named(new QWidget, "tabRecords");
    auto* grid = new QGridLayout(records);
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
    grid->addWidget(chkShowInvalid, 1, 4);
    grid->addWidget(chkUnreviewed, 1, 5);
    grid->addWidget(cmdQualityControl, 1, 6);
    grid->addWidget(cmdSearch, 1, 7);
    grid->addWidget(Caption(1666, cboModel), 2, 0);
    grid->addWidget(cboModel, 2, 1, 1, 3);
    grid->addWidget(lblCount, 2, 4, 1, 2);
    grid->addWidget(cmdOpenDocument, 2, 7);
    grid->addWidget(cmdExport, 2, 6);
    grid->addWidget(cmdInvalidate, 3, 5);
    grid->addWidget(cmdRestore, 3, 6);
    grid->addWidget(cmdReview, 3, 7);
    grid->addWidget(&m_tools->FilterBar(), 4, 0, 1, 8);
    // The details under the table, which keeps the width for the records' columns; the
    // user may give either more height.
    auto* split = Named(new QSplitter(Qt::Vertical), "splRecords");
    split->addWidget(grdRecords);
    split->addWidget(fraImport);
    split->setStretchFactor(0, 1);
    split->setCollapsible(0, false);
    split->setSizes({400, 130});
    grid->addWidget(split, 5, 0, 1, 8);
    grid->addWidget(&m_tools->CountLabel(), 6, 0, 1, 8);
    grid->setRowStretch(5, 1);

    tabArchive = Named(new QTabWidget, "tabArchive");
    tabArchive->addTab(records, LoadResString(1614));
    tabArchive->addTab(tabJournal, LoadResString(1860));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabArchive);

    connect(cmdSearch, &QPushButton::clicked, this, &frmArchive::Search);
    for (QLineEdit* edit : {txtSerial, txtProgram, txtSampleId, txtUser}) {
        connect(edit, &QLineEdit::returnPressed, this, &frmArchive::Search);
    }
    // Either box changes which records a search finds: the one shown runs again.
    for (QCheckBox* box : {chkShowInvalid, chkUnreviewed}) {
        connect(box, &QCheckBox::toggled, this, [this] {
            if (m_searched && !m_work.Running()) {
                Search();
            }
        });
    }
    connect(cboModel, &QComboBox::activated, this, &frmArchive::ShowModel);
    connect(cmdOpenDocument, &QPushButton::clicked, this, &frmArchive::OpenAsDocument);
    connect(cmdExport, &QPushButton::clicked, this, &frmArchive::Export);
    connect(cmdInvalidate, &QPushButton::clicked, this, &frmArchive::Invalidate);
    connect(cmdRestore, &QPushButton::clicked, this, &frmArchive::Restore);
    connect(cmdReview, &QPushButton::clicked, this, &frmArchive::Review);
    // The main menu's window: one for the program, wherever it is opened from.
    connect(cmdQualityControl, &QPushButton::clicked, this,
            [this] { m_menus.MenuQualityControl(); });
    connect(&m_tools->Proxy(), &MValTableProxy::ShownChanged, this,
            [this] { cmdOpenDocument->setEnabled(m_tools->Proxy().ShownCount() > 0); });
    connect(grdRecords->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmArchive::UpdateActions);
    connect(grdRecords->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmArchive::ShowCurrentImport);
    connect(tabArchive, &QTabWidget::currentChanged, this, [this] {
        if (tabArchive->currentWidget() == tabJournal) {
            tabJournal->Show();
        }
    });
    UpdateActions();
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

// What a search found, filled on the work's thread: the starter reads it once the work
// has ended, apart from the count, which it shows as soon as it is known.
struct ArchiveFound {
    std::atomic<qint64> count{-1}; // every matching record, of every model
    QStringList models;
    QString model; // the model shown
    qint64 modelCount = 0;
    // The model's first records, as many as the window holds: their lines one after the
    // other, and the rest of what it keeps of each.
    QString lines;
    QList<frmArchive::HeldRecord> held;
    QList<RecordOrigin> origins;
    QString archive;
    QList<LimitValue> limits; // every version of every program's limit values
    // What an audit asks of the held records: their imports and who set the invalid ones
    // aside, and whether this connection may write.
    QList<ImportSummary> imports;
    QHash<qint64, RecordState> invalid;
    bool canWrite = false;
    QString whyReadOnly;

    bool ReadTrace(ArchiveDatabase& db);
};

namespace {

// A long list of ids is asked in parts, each far below what either engine binds at once.
bool InParts(const QList<qint64>& ids, const std::function<bool(const QList<qint64>&)>& read) {
    constexpr qsizetype kPart = 500;
    for (qsizetype at = 0; at < ids.size(); at += kPart) {
        if (!read(ids.mid(at, kPart))) {
            return false;
        }
    }
    return true;
}

} // namespace

bool ArchiveFound::ReadTrace(ArchiveDatabase& db) {
    QList<qint64> importIds, invalidIds;
    QSet<qint64> seen;
    for (const frmArchive::HeldRecord& record : std::as_const(held)) {
        if (!seen.contains(record.importId)) {
            seen.insert(record.importId);
            importIds << record.importId;
        }
        if (!record.valid) {
            invalidIds << record.recordId;
        }
    }
    ImportReview review(db);
    RecordValidity validity(db);
    return InParts(importIds,
                   [&](const QList<qint64>& part) {
                       QList<ImportSummary> summaries;
                       if (!review.Imports(part, summaries)) {
                           return false;
                       }
                       imports += summaries;
                       return true;
                   }) &&
           InParts(invalidIds, [&](const QList<qint64>& part) {
               QHash<qint64, RecordState> states;
               if (!validity.Invalid(part, states)) {
                   return false;
               }
               invalid.insert(states);
               return true;
           });
}

std::optional<ArchiveFilter> frmArchive::Filter() const {
    ArchiveFilter filter;
    if (chkPeriod->isChecked()) {
        filter.from = dtpFrom->date();
        filter.to = dtpTo->date();
    }
    filter.serial = txtSerial->text().trimmed();
    const QString program = txtProgram->text().trimmed();
    if (!program.isEmpty()) {
        bool number = false;
        filter.program = program.toLongLong(&number);
        if (!number) {
            // Ignored, the search would find the records of every program as if of this one.
            m_services.ui.Message(LoadResString(1689).arg(program), LoadResString(1652),
                                  MsgIcon::Warning);
            return std::nullopt;
        }
    }
    filter.sampleId = txtSampleId->text().trimmed();
    filter.user = txtUser->text().trimmed();
    filter.includeInvalid = chkShowInvalid->isChecked();
    filter.unreviewedOnly = chkUnreviewed->isChecked();
    return filter;
}

void frmArchive::Report(const QString& error) {
    m_services.ui.Message(error, LoadResString(1033), MsgIcon::Critical);
}

bool frmArchive::Search() {
    const std::optional<ArchiveFilter> filter = Filter();
    if (!filter) {
        return false;
    }
    StoreSearch();
    return Load(*filter, cboModel->currentText());
}

void frmArchive::RunLastSearch() {
    if (QSettings().value(kSearchedKey).toBool()) {
        LoadSearch();
        Search();
    }
}

void frmArchive::StoreSearch() const {
    QSettings settings;
    settings.setValue(kSearchedKey, true);
    settings.setValue(kKeyPrefix + QStringLiteral("Period"), chkPeriod->isChecked());
    for (const QDateEdit* date : {dtpFrom, dtpTo}) {
        settings.setValue(kKeyPrefix + date->objectName(), date->date());
    }
    for (const QLineEdit* edit : {txtSerial, txtProgram, txtSampleId, txtUser}) {
        settings.setValue(kKeyPrefix + edit->objectName(), edit->text());
    }
    for (const QCheckBox* box : {chkShowInvalid, chkUnreviewed}) {
        settings.setValue(kKeyPrefix + box->objectName(), box->isChecked());
    }
    settings.setValue(kKeyPrefix + cboModel->objectName(), cboModel->currentText());
}

void frmArchive::LoadSearch() {
    const QSettings settings;
    chkPeriod->setChecked(settings.value(kKeyPrefix + QStringLiteral("Period")).toBool());
    for (QDateEdit* date : {dtpFrom, dtpTo}) {
        const QDate stored = settings.value(kKeyPrefix + date->objectName(), date->date()).toDate();
        date->setDate(stored.isValid() ? stored : date->date());
    }
    for (QLineEdit* edit : {txtSerial, txtProgram, txtSampleId, txtUser}) {
        edit->setText(settings.value(kKeyPrefix + edit->objectName()).toString());
    }
    for (QCheckBox* box : {chkShowInvalid, chkUnreviewed}) {
        const QSignalBlocker quiet(box); // the search runs once, when everything is loaded
        box->setChecked(settings.value(kKeyPrefix + box->objectName()).toBool());
    }
    const QString model = settings.value(kKeyPrefix + cboModel->objectName()).toString();
    if (!model.isEmpty()) {
        cboModel->clear();
        cboModel->addItem(model);
    }
}

bool frmArchive::ShowModel() {
    const std::optional<ArchiveFilter> filter = Filter();
    return filter && Load(*filter, cboModel->currentText());
}

bool frmArchive::Load(const ArchiveFilter& filter, const QString& model) {
    const auto found = std::make_shared<ArchiveFound>();
    const QPointer<QLabel> count(lblCount);
    const bool done = m_work.Run(
        [filter, model, found, most = m_maxRows](ArchiveDatabase& db,
                                                 const ArchiveJob::Going& going) {
            ArchiveQuery query(db);
            found->archive = db.Target().Display();
            found->canWrite = db.CanWrite();
            found->whyReadOnly = found->canWrite ? QString() : db.WhyReadOnly();
            qint64 total = 0;
            if (!query.Count(filter, total) || !query.Models(filter, found->models)) {
                return false;
            }
            found->count = total;
            // Datasets of different models have different columns: one model at a time.
            found->model = found->models.contains(model) ? model : found->models.value(0);
            if (found->model.isEmpty()) {
                return true; // nothing found
            }
            // Without its limits the table still shows what it found, only uncoloured.
            if (!QcStore(db).Limits(found->limits)) {
                found->limits.clear();
            }
            ArchiveFilter one = filter;
            one.model = found->model;
            if (!query.Count(one, found->modelCount)) {
                return false;
            }
            QHash<QString, int> origins; // by serial number and user, a unit separator between
            return query.Visit(one, [&](const ArchivedRecord& record) {
                const QString key = record.serial + QChar(0x1f) + record.user;
                auto known = origins.find(key);
                if (known == origins.end()) {
                    known = origins.insert(key, int(found->origins.size()));
                    found->origins.append(RecordOrigin{record.serial, record.user});
                }
                found->lines += record.record.rawLine;
                found->held.append({record.record.rawLine.size(), *known, record.record.measuredAt,
                                    record.recordId, record.importId, record.valid});
                return found->held.size() < most && going(found->held.size());
            }) && found->ReadTrace(db);
        },
        [found, count](qint64 read) {
            const qint64 total = found->count;
            if (total < 0) {
                return LoadResString(1678);
            }
            if (count) {
                count->setText(LoadResString(1669).arg(total));
            }
            return LoadResString(1681).arg(read).arg(total);
        });
    if (done) {
        m_searched = filter;
        ShowFound(*found);
    }
    return done;
}

void frmArchive::ShowFound(ArchiveFound& found) {
    lblCount->setText(LoadResString(1669).arg(found.count.load()));
    cboModel->clear();
    cboModel->addItems(found.models);
    cboModel->setCurrentIndex(int(found.models.indexOf(found.model)));
    m_held = std::move(found.held);
    m_origins = std::move(found.origins);
    m_modelCount = found.modelCount;
    m_shownModel = found.model;
    m_archive = found.archive;
    m_tools->SetLimits(LimitFlags(found.limits));
    ShowRecords(m_shownModel.isEmpty() ? ExportLayout()
                                       : ExportLayoutFor(m_services.device, m_shownModel),
                found.lines);
    found.lines = QString();
    ShowTrace(found);
#ifdef __GLIBC__
    // The search's lines were read on the work's thread, whose memory the C library keeps
    // for it after they are freed: given back, the window holds what it shows, not twice.
    malloc_trim(0);
#endif
    if (m_modelCount > m_held.size() &&
        m_services.ui.Message(LoadResString(1682).arg(m_modelCount).arg(m_held.size()),
                              LoadResString(1652), MsgIcon::Question, MsgButtons::YesNo,
                              MsgResult::No) == MsgResult::Yes) {
        Export();
    }
}

// The record lines with the meter's serial number and the user as two more fields, so that
// the table's tools (sort, filter, copy) treat them as any column.
void frmArchive::ShowRecords(const ExportLayout& layout, const QString& lines) {
    m_tools->SetLayout(layout);
    m_model->Reset(0, 0);
    if (layout.count == 0) {
        m_tools->RecordsShown();
        return;
    }
    QList<int> widths;
    for (int c = 0; c < layout.count; ++c) {
        widths << layout.record.Width(c);
    }
    widths << kOriginWidth << kOriginWidth;
    QStringList titles = layout.titles;
    titles << LoadResString(1662) << LoadResString(1665);
    m_model->SetColumns(titles, widths);
    ApplyLayoutWidths(*grdRecords, widths);
    const auto field = [](QString text) {
        return text.replace(QLatin1Char(';'), QLatin1Char(','));
    };
    QStringList origins;
    for (const RecordOrigin& origin : std::as_const(m_origins)) {
        origins << QLatin1Char(';') + field(origin.serial) + QLatin1Char(';') + field(origin.user);
    }
    QString text;
    text.reserve(lines.size() + m_held.size() * 24);
    QList<qsizetype> ends;
    ends.reserve(m_held.size());
    qsizetype at = 0;
    for (const HeldRecord& held : std::as_const(m_held)) {
        const QStringView line = QStringView(lines).mid(at, held.lineLength);
        at += held.lineLength;
        // Empty fields up to the layout's count first: a short line keeps its columns.
        const qsizetype fields = line.count(QLatin1Char(';')) + 1;
        text += line;
        text += QString(std::max<qsizetype>(0, layout.count - fields), QLatin1Char(';'));
        text += origins.at(held.origin);
        ends << text.size();
        text += QLatin1Char('\n');
    }
    QList<QStringView> rows;
    rows.reserve(ends.size());
    qsizetype from = 0;
    for (const qsizetype end : ends) {
        rows << QStringView(text).mid(from, end - from);
        from = end + 1;
    }
    m_model->SetRecords(text, rows);
    m_tools->RecordsShown();
    WidenClippedColumns(*grdRecords);
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
    const QList<QStringView> lines = m_model->Lines();
    QList<ArchivedRecord> shown;
    shown.reserve(rows.size());
    for (int row : rows) {
        const HeldRecord& held = m_held.at(row);
        ArchivedRecord record;
        record.record.rawLine = lines.at(row).left(held.lineLength).toString();
        record.record.measuredAt = held.measuredAt;
        record.serial = m_origins.at(held.origin).serial;
        record.user = m_origins.at(held.origin).user;
        // The document remembers where each record stands in the archive.
        record.recordId = held.recordId;
        record.importId = held.importId;
        record.valid = held.valid;
        record.invalidReason = held.valid ? QString() : m_invalid.value(held.recordId).reason;
        shown << record;
    }
    if (shown.isEmpty()) {
        return;
    }
    const bool partial = m_modelCount > m_held.size();
    if ((shown.size() > kLargeDocument || partial) &&
        m_services.ui.Message(LoadResString(1685).arg(shown.size()).arg(m_modelCount),
                              LoadResString(1652), MsgIcon::Question, MsgButtons::YesNo,
                              MsgResult::No) != MsgResult::Yes) {
        return;
    }
    MValSet set = ArchiveQuery::DatasetOf(m_shownModel, shown);
    m_documents.OpenDataset(set, ArchiveExtract::Of(m_archive, shown));
}

bool frmArchive::Export() {
    std::optional<ArchiveFilter> filter = Filter();
    if (!filter) {
        return false;
    }
    FileDialogRequest request;
    request.title = LoadResString(1683);
    request.kind = FileKind::Other;
    request.filter = QStringLiteral("CSV (*.csv)|*.csv");
    request.defaultExtension = QStringLiteral("csv");
    request.overwritePrompt = true;
    const std::optional<QString> path = m_services.ui.SaveFileDialog(request);
    if (!path) {
        return false;
    }
    const auto written = std::make_shared<std::atomic<qint64>>(0);
    const QString file = *path;
    const bool done = m_work.Run(
        [filter = *filter, file, written](ArchiveDatabase& db, const ArchiveJob::Going& going) {
            QSaveFile out(file);
            if (!out.open(QIODevice::WriteOnly)) {
                throw MervexError(FileError(file, out, true));
            }
            QList<LimitValue> limits;
            if (!QcStore(db).Limits(limits)) {
                return false;
            }
            ArchiveOutput output(out, ArchiveFormat::Csv, LimitFlags(limits));
            bool stopped = false;
            const bool read = ArchiveQuery(db).Visit(filter, [&](const ArchivedRecord& record) {
                *written += 1;
                stopped = !going(*written);
                return output.Write(record) && !stopped;
            });
            // A stopped or failed export leaves no file behind.
            if (read && !stopped && !(output.Finish() && out.commit())) {
                throw MervexError(FileError(file, out, true));
            }
            return read && !stopped;
        },
        [written](qint64) { return LoadResString(1684).arg(written->load()); });
    if (done) {
        m_services.ui.Message(
            LoadResString(1692).arg(written->load()).arg(QDir::toNativeSeparators(file)),
            LoadResString(1652), MsgIcon::Information);
    }
    return done;
}

void frmArchive::ShowTrace(ArchiveFound& found) {
    m_imports.clear();
    for (ImportSummary& import : found.imports) {
        m_imports.insert(import.id, std::move(import));
    }
    m_invalid = std::move(found.invalid);
    QHash<int, QString> tips;
    for (int row = 0; row < m_held.size(); ++row) {
        const HeldRecord& held = m_held.at(row);
        if (!held.valid) {
            const auto state = m_invalid.constFind(held.recordId);
            tips.insert(row, state != m_invalid.cend()
                                 ? TraceText::InvalidTip(state->reason, state->at, state->who)
                                 : TraceText::ActionLabel(ArchiveTrail::kRecordInvalidated));
        }
    }
    m_tools->Proxy().SetInvalid(std::move(tips));
    m_canWrite = found.canWrite;
    m_whyReadOnly = found.whyReadOnly;
    if (!m_canWrite && !m_saidReadOnly) {
        m_status.ShowStatusNote(m_whyReadOnly);
        m_saidReadOnly = true;
    }
    ShowCurrentImport();
    UpdateActions();
}

QList<int> frmArchive::SelectedRows() const {
    const MValTableProxy& proxy = m_tools->Proxy();
    QList<int> rows;
    for (const QItemSelectionRange& range : grdRecords->selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            if (const int row = proxy.SourceRow(r); row >= 0 && row < m_held.size()) {
                rows << row;
            }
        }
    }
    // A selection of single cells names a row once for each of them.
    std::ranges::sort(rows);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int frmArchive::CurrentRow() const {
    const QModelIndex current = grdRecords->selectionModel()->currentIndex();
    const int row = current.isValid() ? m_tools->Proxy().SourceRow(current.row()) : -1;
    return row < m_held.size() ? row : -1;
}

void frmArchive::ShowCurrentImport() {
    const int row = CurrentRow();
    const auto import = row >= 0 ? m_imports.constFind(m_held.at(row).importId) : m_imports.cend();
    fraImport->Show(import != m_imports.cend() ? &*import : nullptr);
    UpdateActions();
}

void frmArchive::UpdateActions() {
    bool valid = false;
    bool invalid = false;
    for (const int row : SelectedRows()) {
        (m_held.at(row).valid ? valid : invalid) = true;
    }
    cmdInvalidate->setEnabled(m_canWrite && valid);
    cmdRestore->setEnabled(m_canWrite && invalid);
    cmdReview->setEnabled(m_canWrite && CurrentRow() >= 0);
    for (QPushButton* write : {cmdInvalidate, cmdRestore, cmdReview}) {
        write->setToolTip(m_canWrite ? QString() : m_whyReadOnly);
    }
}

bool frmArchive::Invalidate() {
    return ChangeValidity(1855, false);
}

bool frmArchive::Restore() {
    return ChangeValidity(1856, true);
}

bool frmArchive::ChangeValidity(int action, bool valid) {
    QList<qint64> ids;
    for (const int row : SelectedRows()) {
        if (m_held.at(row).valid != valid) {
            ids << m_held.at(row).recordId;
        }
    }
    if (ids.isEmpty() || !m_canWrite || m_work.Running()) {
        return false;
    }
    frmReason dialog(action, true, this);
    const std::optional<QString> reason = dialog.Ask();
    if (!reason) {
        return false;
    }
    return WriteAndRefresh([ids, reason = *reason, user = m_services.login.UserName(),
                            valid](ArchiveDatabase& db, const ArchiveJob::Going&) {
        RecordValidity validity(db);
        const ArchiveIdentity who = db.Identity(user);
        QList<qint64> changed;
        return valid ? validity.Restore(ids, reason, who, changed)
                     : validity.Invalidate(ids, reason, who, changed);
    });
}

bool frmArchive::Review() {
    const int row = CurrentRow();
    if (row < 0 || !m_canWrite || m_work.Running()) {
        return false;
    }
    frmReason dialog(1857, false, this);
    const std::optional<QString> comment = dialog.Ask();
    if (!comment) {
        return false;
    }
    return WriteAndRefresh([import = m_held.at(row).importId, comment = *comment,
                            user = m_services.login.UserName(),
                            allowSelf = ArchiveSettings::Read(m_services.ini).allowSelfReview](
                               ArchiveDatabase& db, const ArchiveJob::Going&) {
        return ImportReview(db).Review(import, comment, db.Identity(user), allowSelf);
    });
}

// The search runs again so that the table shows what the archive now holds; the current
// record stays current where it is still found, its details showing what was written.
bool frmArchive::WriteAndRefresh(const ArchiveJob::Work& write) {
    const int current = CurrentRow();
    const qint64 record = current >= 0 ? m_held.at(current).recordId : 0;
    if (!m_work.Run(write, [](qint64) { return LoadResString(1879); })) {
        return false;
    }
    tabJournal->Outdated();
    if (!m_searched || !Load(*m_searched, m_shownModel)) {
        return false;
    }
    const auto held = std::ranges::find(m_held, record, &HeldRecord::recordId);
    if (record != 0 && held != m_held.end()) {
        const QModelIndex at =
            m_tools->Proxy().mapFromSource(m_model->index(int(held - m_held.begin()), 0));
        if (at.isValid()) {
            grdRecords->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
        }
    }
    return true;
}

#include "ui/archive/frmArchive.h"

#include "app/BusyState.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveExtract.h"
#include "archive/ArchiveOutput.h"
#include "archive/QcStore.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordWalker.h"
#include "ui/app/DateFields.h"
#include "ui/app/DocumentHost.h"
#include "ui/app/HelpContext.h"
#include "ui/app/MenuCommands.h"
#include "ui/data/ColumnWidths.h"
#include "ui/data/DatasetFilterBar.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/MValTableProxy.h"

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
#include <QTableView>
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

frmArchive::frmArchive(DocumentHost& documents, MenuCommands& menus, ArchiveServices services,
                       QWidget* parent)
    : QWidget(parent, Qt::Window), m_documents(documents), m_menus(menus), m_services(services),
      m_work(services, *this) {
    setObjectName(QStringLiteral("frmArchive"));
    setWindowTitle(LoadResString(1652));
    SetHelpContext(this, HelpContext::kArchive);
    BuildWindow();
    resize(1000, 600);
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
    cboModel = Named(new QComboBox, "cboModel");
    cmdSearch = Named(new QPushButton(LoadResString(1667)), "cmdSearch");
    cmdOpenDocument = Named(new QPushButton(LoadResString(1668)), "cmdOpenDocument");
    cmdOpenDocument->setEnabled(false);
    cmdExport = Named(new QPushButton(LoadResString(1690)), "cmdExport");
    cmdQualityControl = Named(new QPushButton(LoadResString(1743)), "cmdQualityControl");
    cmdQualityControl->setToolTip(LoadResString(1744));
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
    grid->addWidget(cmdQualityControl, 1, 6);
    grid->addWidget(cmdSearch, 1, 7);
    grid->addWidget(Caption(1666, cboModel), 2, 0);
    grid->addWidget(cboModel, 2, 1, 1, 3);
    grid->addWidget(lblCount, 2, 4, 1, 2);
    grid->addWidget(cmdOpenDocument, 2, 7);
    grid->addWidget(cmdExport, 2, 6);
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
    connect(cmdExport, &QPushButton::clicked, this, &frmArchive::Export);
    // The main menu's window: one for the program, wherever it is opened from.
    connect(cmdQualityControl, &QPushButton::clicked, this,
            [this] { m_menus.MenuQualityControl(); });
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
};

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
                                    record.recordId, record.importId, record.valid,
                                    record.invalidReason});
                return found->held.size() < most && going(found->held.size());
            });
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
        record.recordId = held.recordId;
        record.importId = held.importId;
        record.valid = held.valid;
        record.invalidReason = held.invalidReason;
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

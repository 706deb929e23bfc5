#include "ui/data/DocumentCommands.h"

#include "app/BusyState.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "archive/QcImportCheck.h"
#include "data/AskAndPrint.h"
#include "data/AskShownRows.h"
#include "data/CImportMVal.h"
#include "data/CMeasVal.h"
#include "data/CPrint.h"
#include "data/ExportDataset.h"
#include "ui/app/LargeFileTask.h"
#include "ui/app/MainFrame.h"
#include "ui/app/MeterTask.h"
#include "ui/app/StatusMessage.h"
#include "ui/app/frmWait.h"
#include "ui/archive/DatasetArchiving.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/DocumentPrinting.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QScopedValueRollback>

namespace {

// A file without any write permission counts as read-only also for an administrator, who
// could write it anyway: its owner meant to keep it.
bool IsWritableFile(const QString& path) {
    const QFileInfo file(path);
    constexpr auto kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !path.isEmpty() && file.isFile() && file.isWritable() &&
           (file.permissions() & kAnyWrite);
}

// The save dialog of the dataset commands: "Enregistrer sous", one file type, the
// document's proposed name.
FileDialogRequest SaveAsRequest(FileKind kind, int filterName, const QString& extension,
                                const QString& name) {
    FileDialogRequest request;
    request.title = LoadResString(1112);
    request.kind = kind;
    request.filter = LoadResString(filterName) + QStringLiteral(" (*.%1)|*.%1").arg(extension);
    request.fileName = name;
    request.defaultExtension = extension;
    request.overwritePrompt = true;
    request.pathMustExist = true;
    request.hideReadOnly = true;
    return request;
}

bool IsLarge(const MValSet& set) {
    return set.strMVals.size() >= frmDocument::kLargeFile;
}

// "Enregistrement arrêté: PATH" and the like, once the user stopped the writing of `path`.
void ShowStoppedMessage(QWidget* from, int number, const QString& path) {
    ShowStatusMessage(from, LoadResString(number).arg(QDir::toNativeSeparators(path)));
}

} // namespace

DocumentCommands::DocumentCommands(frmDocument& document, MainFrame& main,
                                   DocumentServices services, const DocumentPrinting& printing)
    : m_document(document), m_main(main), m_services(services), m_printing(printing) {}

bool DocumentCommands::ReadMeter(MValSet& mvals) {
    MeterTask task(m_services.tasks(), m_main.FrameWindow(), LoadResString(1149));
    return task.Run(
        [&](MeterTask& running) {
            const QScopedValueRollback<bool> importing(m_importing, true);
            frmWait* wait = running.Wait();
            m_services.importMVal.SetProgressHook([wait](qsizetype records, qint64 elapsedMs) {
                wait->SetProgress(records, elapsedMs);
            });
            const auto unhook = qScopeGuard([&] { m_services.importMVal.SetProgressHook({}); });
            return m_services.importMVal.GetMVals(mvals.strMVals);
        },
        [&] { m_document.ReportError(1036); });
}

void DocumentCommands::ArchiveImport() {
    if (ArchivesEveryImport(m_services.ini)) {
        Archive(QString());
    }
}

void DocumentCommands::Archive(const QString& sourceFile) {
    QcImportVerdict verdict;
    if (ArchiveDataset(m_services.tasks(), m_main.FrameWindow(), m_services.ini, m_services.device,
                       m_main, m_document.MVals(), sourceFile, &verdict)) {
        m_document.ShowQcVerdict(verdict);
    }
}

void DocumentCommands::ArchiveAdd() {
    if (m_document.MVals().strMVals.isEmpty()) {
        m_document.ReportNoDataset();
        return;
    }
    Archive(m_document.FilePath());
}

std::optional<QString> DocumentCommands::Save(const MValSet& mvals, const QString& knownPath) {
    if (mvals.strMVals.isEmpty()) {
        m_document.ReportNoDataset();
        return std::nullopt;
    }
    QString path = knownPath;
    if (!IsWritableFile(knownPath)) {
        const std::optional<QString> chosen = m_services.ui.SaveFileDialog(SaveAsRequest(
            FileKind::Dataset, 1113, QStringLiteral("csv"), m_document.ProposedName()));
        if (!chosen) {
            return std::nullopt;
        }
        path = *chosen;
        if (QFileInfo(path).suffix().isEmpty()) {
            path += QStringLiteral(".csv");
        }
    }
    // A stopped save leaves the file as it was and the document as it is.
    LargeFileTask task(m_services.tasks(), &m_document, 1570, path, IsLarge(mvals));
    task.FinishBeforeQuitting();
    const bool saved = task.Run([&](const WorkProgress& progress) {
        m_services.measVal.SetProgress(progress);
        const auto forget = qScopeGuard([&] { m_services.measVal.SetProgress({}); });
        return m_services.measVal.SaveFile(mvals, path);
    });
    if (task.Stopped()) {
        ShowStoppedMessage(&m_document, 1572, path);
    } else if (!saved) {
        m_document.ReportError(1177);
    }
    return saved ? std::optional<QString>(path) : std::nullopt;
}

bool DocumentCommands::Print() {
    const MValSet& m = m_document.MVals();
    if (m.strMVals.isEmpty()) {
        return m_document.ReportNoDataset();
    }
    bool printed = false;
    const bool result = AskAndPrint(m_services.ui, m_services.print, [&] {
        const RecordSelection records =
            m_printing.PrintedRecords(m_document.TableTools().Proxy().Shown());
        printed = m_services.print.PrintMVals(
            m.strMeter, m.strSerNo, m.strUser, m.curDate, m.strMVals, m_document.FilePath(),
            records, m_printing.Limits(), m_document.Reviews().Verified(m, records));
        return printed;
    });
    if (printed) {
        ShowPrintedMessage(&m_document, m_document.ProposedName());
    }
    return result;
}

void DocumentCommands::Export() {
    const MValSet& mvals = m_document.MVals();
    if (mvals.strMVals.isEmpty()) {
        m_document.ReportNoDataset();
        return;
    }
    // A spreadsheet is data for other programs: the whole dataset unless the user says so.
    const std::optional<RecordSelection> records =
        AskShownRows(m_services.ui, m_document.TableTools().Proxy().Shown(),
                     m_document.TableTools().Proxy().Whole(), false);
    if (!records) {
        return;
    }
    // The workbook first; the legacy worksheet stays for programs that need it.
    FileDialogRequest request = SaveAsRequest(FileKind::Spreadsheet, 1246, QStringLiteral("xlsx"),
                                              m_document.ProposedName());
    request.filter += QStringLiteral("|") + LoadResString(1059) + QStringLiteral(" (*.xls)|*.xls");
    const std::optional<QString> path = m_services.ui.SaveFileDialog(request);
    if (!path) {
        return;
    }
    // A stopped export leaves the file as it was; quitting stops it (the dataset stays where
    // it is, and its save question comes first).
    LargeFileTask task(m_services.tasks(), &m_document, 1571, *path, IsLarge(mvals));
    const bool exported = task.Run([&](const WorkProgress& progress) {
        return ExportDataset(m_services.exportExcel, m_services.exportXlsx, mvals, *path, progress,
                             *records, m_printing.Limits());
    });
    if (task.Stopped()) {
        ShowStoppedMessage(&m_document, 1573, *path);
    } else if (!exported && !m_services.busy.Quitting()) {
        m_services.ui.Message(LoadResString(1058), LoadResString(1033), MsgIcon::Critical);
    } else if (exported) {
        ShowExportedMessage(&m_document, *path);
    }
}

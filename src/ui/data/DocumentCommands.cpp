// The dataset commands of the document window: import, save, open, export and print.
#include "app/ErrorTrap.h"
#include "app/RecentFiles.h"
#include "app/Services.h"
#include "app/TextTables.h"
#include "data/AskAndPrint.h"
#include "data/AskShownRows.h"
#include "data/ExportDataset.h"
#include "ui/app/LargeFileTask.h"
#include "ui/app/MainFrame.h"
#include "ui/app/MeterTask.h"
#include "ui/app/StatusMessage.h"
#include "ui/app/frmWait.h"
#include "ui/archive/DatasetArchiving.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocument.h"

#include <QDateTime>
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

bool frmDocument::ReportNoDataset() {
    m_services.ui.Message(LoadResString(1055), LoadResString(1054), MsgIcon::Information);
    return false;
}

void frmDocument::ReportError(int number) {
    m_services.ui.Message(LoadResString(number), LoadResString(1033), MsgIcon::Critical);
}

void frmDocument::MenuImport() {
    m_services.busy.RunCommand([&] { TrappedVoid(m_services.ui, [&] { Import(); }); });
}

void frmDocument::Import() {
    if (!MayDropDataset()) {
        return;
    }
    // The header is the state at the start of the import.
    MValSet mvals;
    mvals.strMeter = m_services.device.DeviceName();
    mvals.strSerNo = m_services.device.SerialNumber();
    mvals.strUser = m_services.login.UserName();
    mvals.curDate = QDateTime::currentDateTime();
    MeterTask task(m_services, m_main.FrameWindow(), LoadResString(1149));
    const bool imported = task.Run(
        [&](MeterTask& running) {
            const QScopedValueRollback<bool> importing(m_importing, true);
            frmWait* wait = running.Wait();
            m_services.importMVal.SetProgressHook([wait](qsizetype records, qint64 elapsedMs) {
                wait->SetProgress(records, elapsedMs);
            });
            const auto unhook = qScopeGuard([&] { m_services.importMVal.SetProgressHook({}); });
            return m_services.importMVal.GetMVals(mvals.strMVals);
        },
        [&] { ReportError(1036); });
    if (imported) {
        TakeImport(mvals);
        // Shown first: the archive can only add to what the user already has.
        if (ArchivesEveryImport(m_services)) {
            ArchiveDataset(m_services, m_main, m_mvals, QString());
        }
    }
}

void frmDocument::MenuArchiveAdd() {
    m_services.busy.RunCommand([&] {
        TrappedVoid(m_services.ui, [&] {
            if (m_mvals.strMVals.isEmpty()) {
                ReportNoDataset();
                return;
            }
            ArchiveDataset(m_services, m_main, m_mvals, m_strFilePath);
        });
    });
}

// A failed or stopped import leaves the dataset shown as it was. A new one is a dataset
// of its own, also in a window that showed a file: Save asks for its name.
void frmDocument::TakeImport(MValSet& mvals) {
    TakeDataset(mvals, std::nullopt);
    SetModified(true);
    m_recovery.Keep(m_services.measVal, m_mvals);
}

// The archive holds these records already: unmodified, they need no recovery copy
// (SetModified(false) drops one an earlier import of this window left).
void frmDocument::ShowDataset(MValSet& mvals, const ArchiveExtract& extract) {
    TakeDataset(mvals, extract);
    SetModified(false);
}

void frmDocument::TakeDataset(MValSet& mvals, const std::optional<ArchiveExtract>& extract) {
    m_mvals = std::move(mvals);
    m_extract = extract;
    m_strFilePath.clear();
    if (!ShowMVals(true)) {
        ReportError(1051);
    }
    RefreshGraph(true);
}

bool frmDocument::SaveDocument(QString& strNewPath, bool fUseKnownPath, const QString& strKnownPath,
                               const MValSet& mvals) {
    strNewPath.clear();
    if (mvals.strMVals.isEmpty()) {
        return ReportNoDataset();
    }
    if (fUseKnownPath && IsWritableFile(strKnownPath)) {
        strNewPath = strKnownPath;
    } else {
        const std::optional<QString> chosen = m_services.ui.SaveFileDialog(
            SaveAsRequest(FileKind::Dataset, 1113, QStringLiteral("csv"), ProposedName()));
        if (!chosen) {
            return false;
        }
        strNewPath = *chosen;
        if (QFileInfo(strNewPath).suffix().isEmpty()) {
            strNewPath += QStringLiteral(".csv");
        }
    }
    // A stopped save leaves the file as it was and the document as it is.
    LargeFileTask task(m_services, this, 1570, strNewPath, IsLarge(mvals));
    task.FinishBeforeQuitting();
    const bool saved = task.Run([&](const WorkProgress& progress) {
        m_services.measVal.SetProgress(progress);
        const auto forget = qScopeGuard([&] { m_services.measVal.SetProgress({}); });
        return m_services.measVal.SaveFile(mvals, strNewPath);
    });
    if (task.Stopped()) {
        ShowStoppedMessage(this, 1572, strNewPath);
    } else if (!saved) {
        ReportError(1177);
    }
    return saved;
}

void frmDocument::MenuFileSave() {
    if (m_services.busy.Busy()) {
        return;
    }
    if (m_strFilePath.isEmpty()) {
        MenuFileSaveAs();
        return;
    }
    SaveAndRemember(true);
}

void frmDocument::MenuFileSaveAs() {
    m_services.busy.RunCommand([&] { SaveAndRemember(false); });
}

bool frmDocument::SaveAndRemember(bool fUseKnownPath) {
    return Trapped(m_services.ui, false, [&] {
        QString newPath;
        if (!SaveDocument(newPath, fUseKnownPath, fUseKnownPath ? m_strFilePath : QString(),
                          m_mvals)) {
            return false;
        }
        m_strFilePath = newPath;
        SetModified(false);
        RecentFiles::Add(newPath);
        ShowSavedMessage(this, newPath);
        return true;
    });
}

void frmDocument::MenuFilePrint() {
    m_services.busy.RunCommand([&] { TrappedVoid(m_services.ui, [&] { PrintDocument(); }); });
}

bool frmDocument::PrintDocument() {
    if (m_mvals.strMVals.isEmpty()) {
        return ReportNoDataset();
    }
    bool printed = false;
    const bool result = AskAndPrint(m_services.ui, m_services.print, [&] {
        printed = m_services.print.PrintMVals(m_mvals.strMeter, m_mvals.strSerNo, m_mvals.strUser,
                                              m_mvals.curDate, m_mvals.strMVals, m_strFilePath,
                                              m_printing.PrintedRecords(m_tools->Proxy().Shown()));
        return printed;
    });
    if (printed) {
        ShowPrintedMessage(this, ProposedName());
    }
    return result;
}

void frmDocument::MenuExport() {
    m_services.busy.RunCommand([&] { TrappedVoid(m_services.ui, [&] { Export(); }); });
}

void frmDocument::Export() {
    if (m_mvals.strMVals.isEmpty()) {
        ReportNoDataset();
        return;
    }
    // A spreadsheet is data for other programs: the whole dataset unless the user says so.
    const std::optional<RecordSelection> records =
        AskShownRows(m_services.ui, m_tools->Proxy().Shown(), false);
    if (!records) {
        return;
    }
    // The workbook first; the legacy worksheet stays for programs that need it.
    FileDialogRequest request =
        SaveAsRequest(FileKind::Spreadsheet, 1246, QStringLiteral("xlsx"), ProposedName());
    request.filter += QStringLiteral("|") + LoadResString(1059) + QStringLiteral(" (*.xls)|*.xls");
    const std::optional<QString> path = m_services.ui.SaveFileDialog(request);
    if (!path) {
        return;
    }
    // A stopped export leaves the file as it was; quitting stops it (the dataset stays where
    // it is, and its save question comes first).
    LargeFileTask task(m_services, this, 1571, *path, IsLarge(m_mvals));
    const bool exported = task.Run([&](const WorkProgress& progress) {
        return ExportDataset(m_services.exportExcel, m_services.exportXlsx, m_mvals, *path,
                             progress, *records);
    });
    if (task.Stopped()) {
        ShowStoppedMessage(this, 1573, *path);
    } else if (!exported && !m_services.busy.Quitting()) {
        m_services.ui.Message(LoadResString(1058), LoadResString(1033), MsgIcon::Critical);
    } else if (exported) {
        ShowExportedMessage(this, *path);
    }
}

bool frmDocument::FillFromFile(const QString& path) {
    return OpenFromFile(path) == OpenResult::Opened;
}

frmDocument::OpenResult frmDocument::OpenFromFile(const QString& path) {
    // A large file holds the busy state and shows how far the reading is, in a wait dialog
    // that stops it; a small one opens before the user could tell.
    LargeFileTask task(m_services, this, 1560, path, QFileInfo(path).size() >= kLargeFile);
    OpenResult result = OpenResult::Stopped;
    task.Run([&](const WorkProgress& progress) {
        m_services.measVal.SetProgress(progress);
        const auto forget = qScopeGuard([&] { m_services.measVal.SetProgress({}); });
        result = TakeFile(path);
        return result == OpenResult::Opened;
    });
    return result;
}

frmDocument::OpenResult frmDocument::TakeFile(const QString& path) {
    return Trapped(m_services.ui, OpenResult::Failed, [&] {
        const short code = m_services.measVal.OpenFile(m_mvals, path);
        if (code == CMeasVal::kStopped) {
            return OpenResult::Stopped; // the user's choice; the document keeps what it showed
        }
        m_extract.reset();
        if (code != CMeasVal::kOpened) {
            ReportError(code == CMeasVal::kNotADatasetFile ? 1181 : 1180);
            if (!ShowMVals(false)) {
                ReportError(1051);
            }
            ShowTitle(); // the reader left the dataset as far as it came: maybe nothing to save
            RefreshGraph(false);
            return OpenResult::Failed;
        }
        if (!ShowMVals(true)) {
            ReportError(1051);
        }
        m_strFilePath = path;
        SetModified(false);
        RecentFiles::Add(path);
        RefreshGraph(true);
        return OpenResult::Opened;
    });
}

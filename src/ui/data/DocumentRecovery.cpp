// The recovery copy of the document's unsaved dataset (RecoveryStore).
#include "app/Services.h"
#include "data/RecoveryStore.h"
#include "ui/app/LargeFileTask.h"
#include "ui/data/frmDocument.h"

#include <QFileInfo>
#include <QScopeGuard>

// Written as soon as the import has ended, before anything else can hold the program up
// (the archive's database, a question): whatever ends the program from then on, a signal or
// a crash, the import is on disk.
void frmDocument::KeepRecoveryCopy() {
    DropRecoveryCopy();
    m_recoveryPath = RecoveryStore().Write(m_services.measVal, m_mvals);
}

void frmDocument::DropRecoveryCopy() {
    RecoveryStore::Remove(m_recoveryPath);
    m_recoveryPath.clear();
}

bool frmDocument::OpenRecovered(const QString& path) {
    MValSet set;
    short code = CMeasVal::kFailed;
    LargeFileTask task(m_services, this, 1560, path, QFileInfo(path).size() >= kLargeFile);
    task.Run([&](const WorkProgress& progress) {
        m_services.measVal.SetProgress(progress);
        const auto forget = qScopeGuard([&] { m_services.measVal.SetProgress({}); });
        code = m_services.measVal.OpenFile(set, path);
        return code == CMeasVal::kOpened;
    });
    if (code != CMeasVal::kOpened) {
        if (code != CMeasVal::kStopped) {
            ReportError(code == CMeasVal::kNotADatasetFile ? 1181 : 1180);
        }
        return false;
    }
    // Like the import it was: Save asks for a name, closing asks whether to save. Its copy
    // is written again in the same place.
    DropRecoveryCopy();
    m_recoveryPath = path;
    TakeImport(set);
    return true;
}

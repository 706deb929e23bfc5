#include "ui/archive/DatasetArchiving.h"

#include "app/BusyState.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveWriter.h"
#include "archive/QcImportCheck.h"
#include "data/ExportSheet.h"
#include "ui/app/StatusSink.h"
#include "ui/archive/ArchiveTask.h"

#include <memory>

bool ArchivesEveryImport(CIni& ini) {
    return ArchiveSettings::Read(ini).autoArchive;
}

bool ArchiveDataset(TaskServices tasks, QWidget* owner, CIni& ini, const CDevice& device,
                    StatusSink& status, const MValSet& set, const QString& sourceFile,
                    QcImportVerdict* verdict) {
    const ArchiveSettings settings = ArchiveSettings::Read(ini);
    // The work keeps copies of what it reads and fills: it may outlive this call.
    struct Outcome {
        ArchiveCounts counts;
        QString upgradeNote;
        QcImportVerdict verdict;
    };
    const auto outcome = std::make_shared<Outcome>();
    const RecordLayout layout = ExportLayoutFor(device, set.strMeter).record;
    ArchiveTask task(tasks, owner, settings);
    const bool archived = task.Run(
        [set, layout, sourceFile, outcome](ArchiveDatabase& db, const ArchiveJob::Going&) {
            QcImportCheck check(db);
            const bool begun = check.Begin();
            const bool added = ArchiveWriter(db).Add(set, layout, sourceFile, outcome->counts);
            outcome->upgradeNote = db.UpgradeNote();
            if (added && begun && !check.Judge(outcome->counts.imports, outcome->verdict)) {
                outcome->verdict = QcImportVerdict{};
            }
            return added;
        },
        [](qint64) { return LoadResString(1679); });
    if (task.Stopped()) {
        status.ShowStatusNote(LoadResString(1680));
        return false;
    }
    if (!archived) {
        if (!tasks.busy.Quitting()) {
            tasks.ui.Message(LoadResString(1670) + QStringLiteral("\r\n") + task.Error(),
                             LoadResString(1033), MsgIcon::Warning);
        }
        return false;
    }
    const ArchiveCounts& counts = outcome->counts;
    if (!counts.refused.isEmpty()) {
        tasks.ui.Message(LoadResString(1694).arg(counts.refused.size()) + QStringLiteral("\r\n") +
                             counts.refused.join(QStringLiteral("\r\n")),
                         LoadResString(1033), MsgIcon::Warning);
    }
    QStringList notes{outcome->upgradeNote,
                      LoadResString(1650).arg(counts.added).arg(counts.present()),
                      outcome->verdict.Summary()};
    notes.removeAll(QString());
    status.ShowStatusNote(notes.join(QStringLiteral(" – ")));
    if (verdict != nullptr) {
        *verdict = outcome->verdict;
    }
    return true;
}

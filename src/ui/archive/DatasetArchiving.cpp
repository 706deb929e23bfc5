#include "ui/archive/DatasetArchiving.h"

#include "app/TextTables.h"
#include "app/Ui.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveWriter.h"
#include "ui/app/StatusSink.h"

bool ArchivesEveryImport(CIni& ini) {
    return ArchiveSettings::Read(ini).autoArchive;
}

bool ArchiveDataset(Ui& ui, CIni& ini, const CDevice& device, StatusSink& status,
                    const MValSet& set, const QString& sourceFile) {
    ArchiveDatabase db;
    ArchiveCounts counts;
    const bool archived = db.Open(ArchiveSettings::Read(ini)) &&
                          ArchiveWriter(db).Add(device, set, sourceFile, counts);
    if (!archived) {
        ui.Message(LoadResString(1670) + QStringLiteral("\r\n") + db.Error(), LoadResString(1033),
                   MsgIcon::Warning);
        return false;
    }
    if (!counts.refused.isEmpty()) {
        ui.Message(LoadResString(1694).arg(counts.refused.size()) + QStringLiteral("\r\n") +
                       counts.refused.join(QStringLiteral("\r\n")),
                   LoadResString(1033), MsgIcon::Warning);
    }
    const QString note = LoadResString(1650).arg(counts.added).arg(counts.present());
    status.ShowStatusNote(
        db.UpgradeNote().isEmpty() ? note : db.UpgradeNote() + QStringLiteral(" – ") + note);
    return true;
}

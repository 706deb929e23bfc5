#include "ui/archive/DatasetArchiving.h"

#include "app/Services.h"
#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveWriter.h"
#include "ui/app/StatusSink.h"

bool ArchivesEveryImport(Services& services) {
    return ArchiveSettings::Read(services.ini).autoArchive;
}

bool ArchiveDataset(Services& services, StatusSink& status, const MValSet& set,
                    const QString& sourceFile) {
    ArchiveDatabase db;
    ArchiveCounts counts;
    const bool archived = db.Open(ArchiveSettings::Read(services.ini)) &&
                          ArchiveWriter(db).Add(services.device, set, sourceFile, counts);
    if (!archived) {
        services.ui.Message(LoadResString(1670) + QStringLiteral("\r\n") + db.Error(),
                            LoadResString(1033), MsgIcon::Warning);
        return false;
    }
    const QString note = LoadResString(1650).arg(counts.added).arg(counts.present());
    status.ShowStatusNote(
        db.UpgradeNote().isEmpty() ? note : db.UpgradeNote() + QStringLiteral(" – ") + note);
    return true;
}

#include "cli/CliArchive.h"

#include "app/CIni.h"
#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveWriter.h"
#include "cli/CliCommand.h"

#include <QTextStream>

bool OpenArchive(CliContext& ctx, ArchiveDatabase& db) {
    if (db.Open(ArchiveSettings::Read(ctx.ini()))) {
        // Beside the command's own output, which may be the records themselves.
        if (!db.UpgradeNote().isEmpty()) {
            ctx.err << db.UpgradeNote() << '\n';
            ctx.err.flush();
        }
        return true;
    }
    ctx.err << db.Error() << '\n';
    ctx.err.flush();
    return false;
}

bool ArchiveImport(CliContext& ctx, const MValSet& set) {
    if (!ArchiveSettings::Read(ctx.ini()).autoArchive) {
        return false;
    }
    ArchiveDatabase db;
    ArchiveCounts counts;
    if (!OpenArchive(ctx, db)) {
        return false;
    }
    if (!ArchiveWriter(db).Add(ctx.device(), set, QString(), counts)) {
        ctx.err << db.Error() << '\n';
        ctx.err.flush();
        return false;
    }
    ctx.out << LoadResString(1650).arg(counts.added).arg(counts.present()) << '\n';
    return true;
}

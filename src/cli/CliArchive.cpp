#include "cli/CliArchive.h"

#include "app/Services.h"
#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveWriter.h"
#include "cli/CliCommand.h"

#include <QTextStream>

bool OpenArchive(CliContext& ctx, ArchiveDatabase& db) {
    if (db.Open(ArchiveSettings::Read(ctx.services().ini))) {
        return true;
    }
    ctx.err << db.Error() << '\n';
    ctx.err.flush();
    return false;
}

bool ArchiveImport(CliContext& ctx, const MValSet& set) {
    Services& services = ctx.services();
    if (!ArchiveSettings::Read(services.ini).autoArchive) {
        return false;
    }
    ArchiveDatabase db;
    ArchiveCounts counts;
    if (!OpenArchive(ctx, db)) {
        return false;
    }
    if (!ArchiveWriter(db).Add(services, set, QString(), counts)) {
        ctx.err << db.Error() << '\n';
        ctx.err.flush();
        return false;
    }
    ctx.out << LoadResString(1650).arg(counts.added).arg(counts.present()) << '\n';
    return true;
}

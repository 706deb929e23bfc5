#include "cli/CliArchive.h"

#include "app/CIni.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveWatch.h"
#include "archive/ArchiveWorker.h"
#include "archive/ArchiveWriter.h"
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"

#include <QTextStream>
#include <cstdio>
#include <cstdlib>

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

bool RefusedReadOnly(CliContext& ctx, const ArchiveDatabase& db) {
    if (db.CanWrite()) {
        return false;
    }
    ctx.err << db.WhyReadOnly() << '\n';
    ctx.err.flush();
    return true;
}

int OpenArchiveToWrite(CliContext& ctx, ArchiveDatabase& db) {
    if (!OpenArchive(ctx, db)) {
        return kExitArchive;
    }
    return RefusedReadOnly(ctx, db) ? kExitFailure : kExitOk;
}

std::optional<ArchiveFormat> FormatOption(CliOptions& options) {
    if (!options.Has("--format")) {
        return ArchiveFormat::Csv;
    }
    const std::optional<ArchiveFormat> format = ArchiveFormatNamed(options.Text("--format"));
    if (!format) {
        options.Refuse("--format");
    }
    return format;
}

void EndUnanswered(CliContext& ctx, const ArchiveSettings& settings, int exitCode) {
    const ArchiveTarget target =
        ArchiveTarget::Parse(settings.database).value_or(ArchiveTarget::DefaultFile());
    ctx.out.flush();
    ctx.err << RunTimeText(RtError::ArchiveNoAnswer)
                   .arg(target.Display())
                   .arg(settings.timeouts.DeadlineMs() / 1000)
            << '\n';
    ctx.err.flush();
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

bool ArchiveImport(CliContext& ctx, const MValSet& set) {
    const ArchiveSettings settings = ArchiveSettings::Read(ctx.ini());
    if (!settings.autoArchive) {
        return false;
    }
    ctx.device(); // built here, on the program's thread; the worker only uses it
    bool archived = false;
    const bool ended = ArchiveWorker::Run(settings.timeouts.DeadlineMs(), [&](ArchiveWatch& watch) {
        ArchiveDatabase db;
        db.Watch(&watch);
        ArchiveCounts counts;
        if (!OpenArchive(ctx, db) || RefusedReadOnly(ctx, db)) {
            return;
        }
        if (!ArchiveWriter(db).Add(ctx.device(), set, QString(), counts)) {
            ctx.err << db.Error() << '\n';
            ctx.err.flush();
            return;
        }
        ctx.out << LoadResString(1650).arg(counts.added).arg(counts.present()) << '\n';
        archived = true;
    });
    if (!ended) {
        // The dataset file is saved: the import itself succeeded.
        EndUnanswered(ctx, settings, kExitOk);
    }
    return archived;
}

#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "archive/ArchiveBackup.h"
#include "archive/ArchiveChain.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveOutput.h"
#include "archive/ArchiveQuery.h"
#include "archive/ArchiveWorker.h"
#include "archive/ArchiveWriter.h"
#include "archive/QcStore.h"
#include "cli/CliArchive.h"
#include "cli/CliCommand.h"
#include "cli/CliTrace.h"
#include "data/CMeasVal.h"
#include "data/MValSet.h"
#include "meter/CDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

namespace {

// The dataset file's own failure, as the document window words it.
QString OpenFailure(short code, const MValSet& set) {
    if (code == CMeasVal::kOpened) {
        return set.strMVals.isEmpty() ? LoadResString(1055) : QString();
    }
    return LoadResString(code == CMeasVal::kNotADatasetFile ? 1181 : 1180);
}

// "FILE: N added, M already present", with the records refused and why.
void PrintCounts(CliContext& ctx, const QString& file, const ArchiveCounts& counts) {
    if (counts.refused.isEmpty()) {
        ctx.out << LoadResString(1653).arg(file).arg(counts.added).arg(counts.present()) << '\n';
        return;
    }
    ctx.out << LoadResString(1693)
                   .arg(file)
                   .arg(counts.added)
                   .arg(counts.present())
                   .arg(counts.refused.size())
            << '\n';
    for (const QString& reason : counts.refused) {
        ctx.out << LoadResString(1654).arg(file, reason) << '\n';
    }
}

// Adds each file to the archive on `db`'s connection; the exit status.
int AddFiles(CliContext& ctx, ArchiveDatabase& db, const QStringList& files) {
    CMeasVal& measVal = ctx.measVal();
    const CDevice& device = ctx.device();
    ArchiveWriter writer(db);
    int rc = kExitOk;
    for (const QString& file : files) {
        MValSet set;
        const QString failure = OpenFailure(measVal.OpenFile(set, file), set);
        ArchiveCounts counts;
        if (!failure.isEmpty()) {
            ctx.out << LoadResString(1654).arg(file, failure) << '\n';
            rc = kExitFailure;
        } else if (writer.Add(device, set, QFileInfo(file).absoluteFilePath(), counts)) {
            PrintCounts(ctx, file, counts);
            rc = counts.refused.isEmpty() ? rc : kExitFailure;
        } else if (db.Lost()) {
            // The server is gone for good: the other files are not tried on a dead connection.
            ctx.out.flush();
            ctx.err << db.Error() << '\n';
            return kExitArchive;
        } else {
            ctx.out << LoadResString(1654).arg(file, db.Error()) << '\n';
            rc = kExitFailure;
        }
        ctx.out.flush();
    }
    return rc;
}

int RunAdd(CliContext& ctx, const QStringList& files) {
    if (files.isEmpty()) {
        return UsageError(ctx, QStringLiteral("archive"));
    }
    const ArchiveSettings settings = ArchiveSettings::Read(ctx.ini());
    // Built here, on the program's thread; the worker only uses them.
    ctx.measVal();
    ctx.device();
    int rc = kExitOk;
    const bool ended = ArchiveWorker::Run(settings.timeouts.DeadlineMs(), [&](ArchiveWatch& watch) {
        ArchiveDatabase db;
        db.Watch(&watch);
        rc = OpenArchiveToWrite(ctx, db);
        rc = rc == kExitOk ? AddFiles(ctx, db, files) : rc;
    });
    if (!ended) {
        EndUnanswered(ctx, settings, kExitArchive);
    }
    return rc;
}

// Reads the query's options into `filter`, `format` and `output`; false on a usage error,
// with `bad` naming the option whose value is wrong (empty when an option is unknown or
// has no value).
bool ParseQuery(const QStringList& args, ArchiveFilter& filter, ArchiveFormat& format,
                QString& output, QString& bad) {
    for (qsizetype i = 0; i < args.size(); i += 2) {
        if (args[i] == QLatin1String("--include-invalid")) {
            filter.includeInvalid = true;
            --i; // a flag: no value follows
            continue;
        }
        if (i + 1 >= args.size()) {
            return false;
        }
        const QString& option = args[i];
        const QString& value = args[i + 1];
        const QDate date = QDate::fromString(value, Qt::ISODate);
        bool number = false;
        const qint64 program = value.toLongLong(&number);
        const QDateTime since = QDateTime::fromString(value, Qt::ISODate);
        const auto valueIf = [&](bool valid) {
            if (!valid) {
                bad = LoadResString(1672).arg(option, value);
            }
            return valid;
        };
        if (option == QLatin1String("--from") && valueIf(date.isValid())) {
            filter.from = date;
        } else if (option == QLatin1String("--to") && valueIf(date.isValid())) {
            filter.to = date;
        } else if (option == QLatin1String("--serial")) {
            filter.serial = value;
        } else if (option == QLatin1String("--program") && valueIf(number)) {
            filter.program = program;
        } else if (option == QLatin1String("--archived-since") && valueIf(since.isValid())) {
            filter.archivedSince = since;
        } else if (option == QLatin1String("--id")) {
            filter.sampleId = value;
        } else if (option == QLatin1String("--user")) {
            filter.user = value;
        } else if (option == QLatin1String("--model")) {
            filter.model = value;
        } else if (option == QLatin1String("--citation")) {
            filter.citation = value;
        } else if (option == QLatin1String("--format") &&
                   valueIf(ArchiveFormatNamed(value).has_value())) {
            format = *ArchiveFormatNamed(value);
        } else if (option == QLatin1String("-o")) {
            output = value;
        } else {
            return false;
        }
    }
    return true;
}

int RunQuery(CliContext& ctx, const QStringList& args) {
    ArchiveFilter filter;
    ArchiveFormat format = ArchiveFormat::Csv;
    QString output;
    QString bad;
    if (!ParseQuery(args, filter, format, output, bad)) {
        if (!bad.isEmpty()) {
            ctx.err << bad << '\n';
        }
        return UsageError(ctx, QStringLiteral("archive"));
    }
    ArchiveDatabase db;
    if (!OpenArchive(ctx, db)) {
        return kExitArchive;
    }
    // Read once: every row is judged by them as it streams.
    QList<LimitValue> limits;
    if (!QcStore(db).Limits(limits)) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    // Written as the rows come: no result, however large, is held in memory.
    QFile out;
    QSaveFile file(output);
    QIODevice& device = output.isEmpty() ? static_cast<QIODevice&>(out) : file;
    ctx.out.flush();
    if (!(output.isEmpty() ? out.open(stdout, QIODevice::WriteOnly)
                           : file.open(QIODevice::WriteOnly))) {
        ctx.err << output << ": " << file.errorString() << '\n';
        return kExitFailure;
    }
    ArchiveOutput writer(device, format, LimitFlags(limits));
    if (!ArchiveQuery(db).Visit(filter, [&](const ArchivedRecord& r) { return writer.Write(r); })) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    if (!writer.Finish() || (!output.isEmpty() && !file.commit())) {
        ctx.err << (output.isEmpty() ? QStringLiteral("-") : output) << ": " << device.errorString()
                << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int RunInfo(CliContext& ctx) {
    ArchiveDatabase db;
    if (!OpenArchive(ctx, db)) {
        return kExitArchive;
    }
    ArchiveTotals totals;
    if (!ArchiveQuery(db).Totals(totals)) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    ctx.out << LoadResString(1655).arg(db.Target().Display()) << '\n'
            << LoadResString(1656).arg(db.SchemaVersion()) << '\n'
            << LoadResString(1657).arg(totals.meters) << '\n'
            << LoadResString(1658).arg(totals.imports) << '\n'
            << LoadResString(1659).arg(totals.records) << '\n';
    return kExitOk;
}

int RunBackup(CliContext& ctx, const QString& file) {
    ArchiveDatabase db;
    if (!OpenArchive(ctx, db)) {
        return kExitArchive;
    }
    ArchiveBackup backup(db, ctx.user);
    if (!backup.WriteTo(file)) {
        ctx.err << backup.Error() << '\n';
        return kExitFailure;
    }
    ctx.out << LoadResString(1688).arg(QDir::toNativeSeparators(file)).arg(backup.Records())
            << '\n';
    return kExitOk;
}

int RunVerify(CliContext& ctx) {
    ArchiveDatabase db;
    if (!OpenArchive(ctx, db)) {
        return kExitArchive;
    }
    ChainReport report;
    if (!ArchiveChain(db).Verify(report)) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    if (report.Intact()) {
        ctx.out << LoadResString(1799).arg(report.imports).arg(report.records).arg(report.events)
                << '\n';
        return kExitOk;
    }
    if (report.badImport != 0) {
        ctx.err << LoadResString(1800).arg(report.badImport).arg(report.importWhy) << '\n';
    }
    if (report.badEvent != 0) {
        ctx.err << LoadResString(1808).arg(report.badEvent).arg(report.eventWhy) << '\n';
    }
    return kExitFailure;
}

int RunArchive(CliContext& ctx, const QStringList& args) {
    const QString sub = args.value(0);
    if (sub == QLatin1String("add")) {
        return RunAdd(ctx, args.mid(1));
    }
    if (sub == QLatin1String("query")) {
        return RunQuery(ctx, args.mid(1));
    }
    if (sub == QLatin1String("info") && args.size() == 1) {
        return RunInfo(ctx);
    }
    if (sub == QLatin1String("backup") && args.size() == 2) {
        return RunBackup(ctx, args[1]);
    }
    if (sub == QLatin1String("verify") && args.size() == 1) {
        return RunVerify(ctx);
    }
    if (sub == QLatin1String("log")) {
        return RunArchiveLog(ctx, args.mid(1));
    }
    if (sub == QLatin1String("invalidate") || sub == QLatin1String("restore")) {
        return RunArchiveValidity(ctx, args.mid(1), sub == QLatin1String("restore"));
    }
    if (sub == QLatin1String("review")) {
        return RunArchiveReview(ctx, args.mid(1));
    }
    return UsageError(ctx, QStringLiteral("archive"));
}

const CliRegistration
    reg({QStringLiteral("archive"),
         QStringLiteral(
             "archive add FILE.csv...         dataset files -> the measurement archive; per file:\n"
             "                                   records added, already present, or why refused\n"
             "  archive query [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--serial S] [--program N] "
             "[--id TEXT] [--user NAME] [--model MODEL] [--citation TEXT] "
             "[--archived-since YYYY-MM-DDTHH:MM:SS[Z|+HH:MM]] [--include-invalid] "
             "[--format csv|tsv|json] [-o FILE]\n"
             "                                   archived records (csv by default), UTF-8, ISO "
             "8601 times;\n"
             "                                   invalidated records only with --include-invalid\n"
             "  archive info                    where the archive is, its version and counts\n"
             "  archive verify                  recomputes the digest chains: 0 intact, 1 names "
             "the first import or journal event altered\n"
             "  archive log [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--format csv|tsv|json]\n"
             "                                   the audit trail: who did what, when, and why\n"
             "  archive invalidate RECORD_ID... --reason TEXT\n"
             "  archive restore RECORD_ID... --reason TEXT\n"
             "                                   sets records aside, or takes them back\n"
             "  archive review IMPORT_ID [--comment TEXT]\n"
             "                                   an import checked by another account"),
         &RunArchive});

} // namespace

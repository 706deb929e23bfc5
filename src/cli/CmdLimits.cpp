#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecord.h"
#include "archive/QcStore.h"
#include "archive/TableOutput.h"
#include "cli/CliArchive.h"
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"

#include <array>

namespace {

int Usage(CliContext& ctx, const CliOptions& options) {
    if (!options.Bad().isEmpty()) {
        ctx.err << options.Bad() << '\n';
    }
    return UsageError(ctx, QStringLiteral("limits"));
}

int RunSet(CliContext& ctx, CliOptions& options) {
    LimitValue limit;
    const std::optional<qint64> program = options.Whole("--program");
    limit.lower = options.Real("--min");
    limit.upper = options.Real("--max");
    limit.unit = options.Text("--unit").trimmed();
    limit.validFrom = options.Date("--valid-from").value_or(QDate::currentDate());
    if (limit.lower && limit.upper && *limit.lower > *limit.upper) {
        options.Refuse("--min");
    }
    if (!program || (!limit.lower && !limit.upper) || !options.Bad().isEmpty() ||
        options.Words().size() != 1) {
        return Usage(ctx, options);
    }
    limit.program = *program;
    ArchiveDatabase db;
    if (const int status = OpenArchiveToWrite(ctx, db); status != kExitOk) {
        return status;
    }
    if (!QcStore(db, ctx.user).AddLimit(limit)) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    ctx.out << LoadResString(1740).arg(*program).arg(limit.validFrom.toString(Qt::ISODate)) << '\n';
    return kExitOk;
}

constexpr std::array<const char*, 7> kNames = {"program", "valid_from", "min",       "max",
                                               "unit",    "created_at", "created_by"};

int RunList(CliContext& ctx, CliOptions& options) {
    const std::optional<ArchiveFormat> format =
        ArchiveFormatNamed(options.Has("--format") ? options.Text("--format") : "csv");
    if (!format) {
        options.Refuse("--format");
    }
    if (!format || options.Words().size() != 1) {
        return Usage(ctx, options);
    }
    ArchiveDatabase db;
    if (!OpenArchive(ctx, db)) {
        return kExitArchive;
    }
    QList<LimitValue> limits;
    if (!QcStore(db).Limits(limits)) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    QList<std::array<TableCell, kNames.size()>> rows;
    for (const LimitValue& l : limits) {
        using T = TableCell;
        rows.append({T::OfWhole(l.program), T::OfText(l.validFrom.toString(Qt::ISODate)),
                     T::OfReal(l.lower), T::OfReal(l.upper), T::OfText(l.unit),
                     T::OfText(ArchiveIsoTime(l.createdAt) + QLatin1Char('Z')),
                     T::OfText(l.createdBy)});
    }
    return WriteRows(ctx, *format, kNames, rows) ? kExitOk : kExitFailure;
}

int RunLimits(CliContext& ctx, const QStringList& args) {
    std::optional<CliOptions> options =
        CliOptions::Parse(args, {QStringLiteral("--program"), QStringLiteral("--min"),
                                 QStringLiteral("--max"), QStringLiteral("--unit"),
                                 QStringLiteral("--valid-from"), QStringLiteral("--format")});
    const QString sub = options ? options->Words().value(0) : QString();
    if (sub == QLatin1String("set")) {
        return RunSet(ctx, *options);
    }
    if (sub == QLatin1String("list")) {
        return RunList(ctx, *options);
    }
    return UsageError(ctx, QStringLiteral("limits"));
}

const CliRegistration
    reg({QStringLiteral("limits"),
         QStringLiteral("limits set --program N [--min X] [--max Y] [--unit U] "
                        "[--valid-from YYYY-MM-DD]\n"
                        "                                   limit values of a program from a "
                        "date on (a new version)\n"
                        "  limits list [--format csv|tsv|json]\n"
                        "                                   every program's limit versions"),
         &RunLimits});

} // namespace

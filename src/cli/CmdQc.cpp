#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecord.h"
#include "archive/QcStore.h"
#include "archive/TableOutput.h"
#include "cli/CliArchive.h"
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "qc/QcBaseline.h"
#include "qc/QcJudge.h"
#include "qc/QcReport.h"

#include <array>

namespace {

int Usage(CliContext& ctx, const CliOptions& options) {
    if (!options.Bad().isEmpty()) {
        ctx.err << options.Bad() << '\n';
    }
    return UsageError(ctx, QStringLiteral("qc"));
}

// The control a definition names and how its records are recognised; nothing on a usage
// error.
std::optional<QcControl> ControlOf(CliOptions& options) {
    if (options.Words().size() != 2 || options.Has("--id-equals") == options.Has("--id-prefix")) {
        return std::nullopt;
    }
    QcControl control;
    control.name = options.Words()[1].trimmed();
    control.program = options.Whole("--program");
    control.citation = options.Text("--citation").trimmed();
    control.match =
        options.Has("--id-prefix") ? QcControl::Match::Prefix : QcControl::Match::Equals;
    control.matchText = options.Text(options.Has("--id-prefix") ? "--id-prefix" : "--id-equals");
    if (control.name.isEmpty() || control.matchText.trimmed().isEmpty()) {
        return std::nullopt;
    }
    return control;
}

// The target and SD of a new version: as given, or estimated from the control's points of
// a period. 0 when set, else the exit status.
int ValuesOf(CliContext& ctx, CliOptions& options, QcStore& store, const QcControl& control,
             QcVersion& version) {
    if (options.Has("--target") && options.Has("--sd")) {
        const std::optional<double> target = options.Real("--target");
        const std::optional<double> sd = options.Real("--sd");
        if (sd && *sd <= 0.0) {
            options.Refuse("--sd");
        }
        if (!target || !sd || *sd <= 0.0) {
            return Usage(ctx, options);
        }
        version.target = *target;
        version.sd = *sd;
        return kExitOk;
    }
    const std::optional<QDate> from = options.Date("--baseline-from");
    const std::optional<QDate> to = options.Date("--baseline-to");
    if (!from || !to || options.Has("--target") || options.Has("--sd")) {
        return Usage(ctx, options);
    }
    QList<QcRecord> records;
    if (!store.Records(control, records)) {
        return kExitArchive;
    }
    const QcBaseline baseline = QcBaseline::Of(control, records, *from, *to);
    if (!baseline.Accepted()) {
        ctx.err << baseline.Text() << '\n';
        return kExitFailure;
    }
    version.target = baseline.estimate.mean;
    version.sd = baseline.estimate.sd;
    ctx.out << baseline.Text() << '\n';
    return kExitOk;
}

int RunDefine(CliContext& ctx, CliOptions& options) {
    std::optional<QcControl> control = ControlOf(options);
    QcVersion version;
    version.unit = options.Text("--unit");
    version.validFrom = options.Date("--valid-from").value_or(QDate());
    const std::optional<QcRules> rules =
        options.Has("--rules") ? QcRules::Parse(options.Text("--rules")) : QcRules{};
    if (!rules) {
        options.Refuse("--rules");
    }
    if (!control || !rules || !options.Bad().isEmpty()) {
        return Usage(ctx, options);
    }
    version.rules = *rules;
    ArchiveDatabase db;
    if (const int status = OpenArchiveToWrite(ctx, db); status != kExitOk) {
        return status;
    }
    QcStore store(db, ctx.user);
    if (const int status = ValuesOf(ctx, options, store, *control, version); status != kExitOk) {
        if (status == kExitArchive) {
            ctx.err << db.Error() << '\n';
        }
        return status;
    }
    if (!store.Define(*control, version)) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    QList<QcControl> controls;
    store.Controls(controls);
    for (const QcControl& c : controls) {
        if (c.name == control->name) {
            const QcVersion& made = c.versions.last();
            ctx.out << LoadResString(1735)
                           .arg(c.name, made.validFrom.toString(Qt::ISODate))
                           .arg(made.target, 0, 'g', 10)
                           .arg(made.sd, 0, 'g', 10)
                    << '\n';
        }
    }
    return kExitOk;
}

constexpr std::array<const char*, 12> kListNames = {
    "control", "valid_from", "target", "sd",         "unit",       "rules",
    "program", "citation",   "match",  "match_text", "created_at", "created_by"};

int RunList(CliContext& ctx, CliOptions& options) {
    const std::optional<ArchiveFormat> format = FormatOption(options);
    if (!format || options.Words().size() != 1) {
        return Usage(ctx, options);
    }
    ArchiveDatabase db;
    if (!OpenArchive(ctx, db)) {
        return kExitArchive;
    }
    QList<QcControl> controls;
    if (!QcStore(db).Controls(controls)) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    QList<std::array<TableCell, kListNames.size()>> rows;
    for (const QcControl& c : controls) {
        for (const QcVersion& v : c.versions) {
            using T = TableCell;
            rows.append({T::OfText(c.name), T::OfText(v.validFrom.toString(Qt::ISODate)),
                         T::OfReal(v.target), T::OfReal(v.sd), T::OfText(v.unit),
                         T::OfText(v.rules.Text()), T::OfWhole(c.program), T::OfText(c.citation),
                         T::OfText(c.match == QcControl::Match::Prefix ? QStringLiteral("prefix")
                                                                       : QStringLiteral("equals")),
                         T::OfText(c.matchText),
                         T::OfText(ArchiveIsoTime(v.createdAt) + QLatin1Char('Z')),
                         T::OfText(v.createdBy)});
        }
    }
    return WriteRows(ctx, *format, kListNames, rows) ? kExitOk : kExitFailure;
}

constexpr std::array<const char*, 8> kCheckNames = {
    "control", "serial_number", "record_id", "measured_at", "value", "z", "rules", "rejected"};

int RunCheck(CliContext& ctx, CliOptions& options) {
    const std::optional<ArchiveFormat> format = FormatOption(options);
    const std::optional<QDate> from = options.Date("--from");
    const std::optional<QDate> to = options.Date("--to");
    if (!format || !options.Bad().isEmpty() || options.Words().size() > 2) {
        return Usage(ctx, options);
    }
    ArchiveDatabase db;
    if (!OpenArchive(ctx, db)) {
        return kExitArchive;
    }
    QcStore store(db);
    QList<QcControl> controls;
    if (!store.Controls(controls)) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    const QString name = options.Words().value(1);
    if (!name.isEmpty()) {
        controls.removeIf([&](const QcControl& c) { return c.name != name; });
        if (controls.isEmpty()) {
            ctx.err << LoadResString(1738).arg(name) << '\n';
            return kExitFailure;
        }
    }
    QList<std::array<TableCell, kCheckNames.size()>> rows;
    bool rejected = false;
    for (const QcControl& control : controls) {
        QList<QcRecord> records;
        if (!store.Records(control, records)) {
            ctx.err << db.Error() << '\n';
            return kExitArchive;
        }
        const QcJudgement judged = QcJudge::Judge(control, records, from, to);
        rejected = rejected || judged.Rejected();
        // Beside the points, on the error output: the measurements that are none, and why.
        for (const QString& line : QcReport::SkippedLines(judged)) {
            ctx.err << control.name << QStringLiteral(" \u2014 ") << line << '\n';
        }
        for (const QcPoint& p : judged.points) {
            using T = TableCell;
            rows.append({T::OfText(control.name), T::OfText(p.record.serial),
                         T::OfWhole(p.record.recordId),
                         T::OfText(ArchiveIsoTime(p.record.measuredAt)), T::OfReal(p.record.value1),
                         T::OfReal(p.z), T::OfList(p.version->rules.Codes(p.flags)),
                         T::OfText(QcRules::IsRejection(p.flags) ? QStringLiteral("true")
                                                                 : QStringLiteral("false"))});
        }
    }
    if (!WriteRows(ctx, *format, kCheckNames, rows)) {
        return kExitFailure;
    }
    return rejected ? kExitFailure : kExitOk;
}

int RunQc(CliContext& ctx, const QStringList& args) {
    std::optional<CliOptions> options = CliOptions::Parse(
        args,
        {QStringLiteral("--program"), QStringLiteral("--citation"), QStringLiteral("--id-equals"),
         QStringLiteral("--id-prefix"), QStringLiteral("--target"), QStringLiteral("--sd"),
         QStringLiteral("--baseline-from"), QStringLiteral("--baseline-to"),
         QStringLiteral("--unit"), QStringLiteral("--valid-from"), QStringLiteral("--rules"),
         QStringLiteral("--format"), QStringLiteral("--from"), QStringLiteral("--to")});
    const QString sub = options ? options->Words().value(0) : QString();
    if (sub == QLatin1String("define")) {
        return RunDefine(ctx, *options);
    }
    if (sub == QLatin1String("list")) {
        return RunList(ctx, *options);
    }
    if (sub == QLatin1String("check")) {
        return RunCheck(ctx, *options);
    }
    return UsageError(ctx, QStringLiteral("qc"));
}

const CliRegistration reg(
    {QStringLiteral("qc"),
     QStringLiteral(
         "qc define NAME [--program N] [--citation TEXT] (--id-equals TEXT | --id-prefix TEXT)\n"
         "           (--target X --sd S | --baseline-from YYYY-MM-DD --baseline-to YYYY-MM-DD)\n"
         "           [--unit U] [--valid-from YYYY-MM-DD] [--rules 1-2s,1-3s,2-2s,R-4s,4-1s,10x]\n"
         "                                   a control sample, or a new version of it\n"
         "  qc list [--format csv|tsv|json]  the controls and their versions\n"
         "  qc check [NAME] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--format csv|tsv|json]\n"
         "                                   the control points judged by their rules; exit 1\n"
         "                                   when a rejection rule fired"),
     &RunQc});

} // namespace

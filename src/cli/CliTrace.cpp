#include "cli/CliTrace.h"

#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveIdList.h"
#include "archive/ArchiveRecord.h"
#include "archive/ArchiveTrail.h"
#include "archive/ImportReview.h"
#include "archive/RecordValidity.h"
#include "archive/TableOutput.h"
#include "cli/CliArchive.h"
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"

#include <QFile>
#include <array>
#include <cstdio>

namespace {

constexpr std::array<const char*, 13> kLogNames = {
    "event_id", "event_at", "user",      "os_account", "db_role", "host",  "program_version",
    "action",   "object",   "old_value", "new_value",  "reason",  "digest"};

int Usage(CliContext& ctx, const QString& bad = QString()) {
    if (!bad.isEmpty()) {
        ctx.err << bad << '\n';
    }
    return UsageError(ctx, QStringLiteral("archive"));
}

std::array<TableCell, kLogNames.size()> Cells(const AuditEvent& e) {
    using T = TableCell;
    return {T::OfWhole(e.id),
            T::OfText(ArchiveIsoTime(e.at) + QLatin1String(e.at.isValid() ? "Z" : "")),
            T::OfText(e.who.userName),
            T::OfText(e.who.osAccount),
            T::OfText(e.who.dbRole),
            T::OfText(e.who.hostName),
            T::OfText(e.who.programVersion),
            T::OfText(e.action),
            T::OfText(e.object),
            T::OfText(e.oldValue),
            T::OfText(e.newValue),
            T::OfText(e.reason),
            T::OfText(e.digest)};
}

// The ids `words` name, each a positive whole number; nothing (with `bad` naming the first
// that is not) otherwise.
std::optional<QList<qint64>> IdsOf(const QStringList& words, const char* name, QString& bad) {
    QList<qint64> ids;
    for (const QString& word : words) {
        bool number = false;
        const qint64 id = word.toLongLong(&number);
        if (!number || id <= 0) {
            bad = LoadResString(1672).arg(QLatin1String(name), word);
            return std::nullopt;
        }
        ids << id;
    }
    return ids;
}

// A write that failed: its message, and the status (3 when the connection is gone).
int WriteFailed(CliContext& ctx, const ArchiveDatabase& db) {
    ctx.err << db.Error() << '\n';
    return db.Lost() ? kExitArchive : kExitFailure;
}

} // namespace

int RunArchiveLog(CliContext& ctx, const QStringList& args) {
    std::optional<CliOptions> options = CliOptions::Parse(
        args, {QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--format")});
    if (!options || !options->Words().isEmpty()) {
        return Usage(ctx);
    }
    const std::optional<ArchiveFormat> format = FormatOption(*options);
    const std::optional<QDate> from = options->Date("--from");
    const std::optional<QDate> to = options->Date("--to");
    if (!format || !options->Bad().isEmpty()) {
        return Usage(ctx, options->Bad());
    }
    ArchiveDatabase db;
    if (!OpenArchive(ctx, db)) {
        return kExitArchive;
    }
    // Written as the events come: a trail of years costs the memory of one event.
    ctx.out.flush();
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        return kExitFailure;
    }
    TableOutput table(out, *format, kLogNames);
    if (!ArchiveTrail(db).Read(from, to,
                               [&](const AuditEvent& e) { return table.Write(Cells(e)); })) {
        ctx.err << db.Error() << '\n';
        return kExitArchive;
    }
    return table.Finish() ? kExitOk : kExitFailure;
}

int RunArchiveValidity(CliContext& ctx, const QStringList& args, bool valid) {
    std::optional<CliOptions> options = CliOptions::Parse(args, {QStringLiteral("--reason")});
    if (!options || options->Words().isEmpty()) {
        return Usage(ctx);
    }
    QString bad;
    const std::optional<QList<qint64>> ids = IdsOf(options->Words(), "RECORD_ID", bad);
    if (!ids) {
        return Usage(ctx, bad);
    }
    const QString reason = options->Text("--reason").trimmed();
    if (reason.isEmpty()) {
        return Usage(ctx, LoadResString(1830));
    }
    ArchiveDatabase db;
    if (const int status = OpenArchiveToWrite(ctx, db); status != kExitOk) {
        return status;
    }
    RecordValidity validity(db);
    const ArchiveIdentity who = db.Identity(ctx.user);
    QList<qint64> changed;
    if (!(valid ? validity.Restore(*ids, reason, who, changed)
                : validity.Invalidate(*ids, reason, who, changed))) {
        return WriteFailed(ctx, db);
    }
    ctx.out << LoadResString(valid ? 1836 : 1835)
                   .arg(changed.size())
                   .arg(ArchiveIdList::Distinct(*ids).size() - changed.size())
            << '\n';
    return kExitOk;
}

int RunArchiveReview(CliContext& ctx, const QStringList& args) {
    std::optional<CliOptions> options = CliOptions::Parse(args, {QStringLiteral("--comment")});
    if (!options || options->Words().size() != 1) {
        return Usage(ctx);
    }
    QString bad;
    const std::optional<QList<qint64>> id = IdsOf(options->Words(), "IMPORT_ID", bad);
    if (!id) {
        return Usage(ctx, bad);
    }
    ArchiveDatabase db;
    if (const int status = OpenArchiveToWrite(ctx, db); status != kExitOk) {
        return status;
    }
    const ArchiveIdentity who = db.Identity(ctx.user);
    if (!ImportReview(db).Review(id->first(), options->Text("--comment"), who,
                                 ArchiveSettings::Read(ctx.ini()).allowSelfReview)) {
        return WriteFailed(ctx, db);
    }
    ctx.out << LoadResString(1837).arg(id->first()).arg(who.userName, who.osAccount) << '\n';
    return kExitOk;
}

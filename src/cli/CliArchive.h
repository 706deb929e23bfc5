#pragma once

#include "archive/TableOutput.h"
#include "cli/CliContext.h"

#include <QFile>
#include <QList>
#include <QTextStream>
#include <array>
#include <cstdio>
#include <optional>

class ArchiveDatabase;
class CliOptions;
struct ArchiveSettings;
struct MValSet;

// Opens the archive Settings.ini names; its message on standard error when it cannot.
bool OpenArchive(CliContext& ctx, ArchiveDatabase& db);
// A command that writes, on an archive this connection may only read: says why on standard
// error and answers true (the command then exits with 1).
bool RefusedReadOnly(CliContext& ctx, const ArchiveDatabase& db);
// Opens the archive for a command that writes: kExitOk, or the command's exit status with
// the message on standard error (3 when it cannot be opened, 1 when it may only be read).
int OpenArchiveToWrite(CliContext& ctx, ArchiveDatabase& db);
// The --format option: csv without it, nothing (and the option refused) for an unknown one.
std::optional<ArchiveFormat> FormatOption(CliOptions& options);

// The archive's server stopped answering in the middle of a call: says so and ends the
// program at once with `exitCode`. The worker thread still waits inside the database driver;
// ending the ordinary way would destroy the connection and the objects it uses under it.
[[noreturn]] void EndUnanswered(CliContext& ctx, const ArchiveSettings& settings, int exitCode);

// Adds an import from the meter to the archive when Settings.ini asks for it, and prints
// "N records archived (M already present)". An archive that cannot take it costs the
// import nothing: its message goes to standard error and the result stays true; false only
// means nothing was archived.
bool ArchiveImport(CliContext& ctx, const MValSet& set);

// Writes rows of the archive's data (controls, limits, judged points) to standard output;
// false when they could not be written.
template <size_t N>
bool WriteRows(CliContext& ctx, ArchiveFormat format, const std::array<const char*, N>& names,
               const QList<std::array<TableCell, N>>& rows) {
    ctx.out.flush();
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        return false;
    }
    TableOutput table(out, format, names);
    for (const auto& row : rows) {
        table.Write(row);
    }
    return table.Finish();
}

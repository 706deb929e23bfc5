#pragma once

#include "cli/CliContext.h"

#include <QString>
#include <QStringList>
#include <functional>

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// The archive commands: the archive could not be opened or read.
constexpr int kExitArchive = 3;

struct CliCommand {
    QString name;
    QString usage; // the line(s) shown by --help, without the program name
    std::function<int(CliContext&, const QStringList& args)> run;
    bool needsFonts = false; // printouts: runs as a GUI application without a display
};

// Commands register themselves from their own file:
//   static const CliRegistration reg({"strings", "strings  ...", &RunStrings});
struct CliRegistration {
    explicit CliRegistration(CliCommand command);
};

const QList<CliCommand>& CliCommands();
// Prints "usage: ..." for one command to the error stream and returns kExitUsage.
int UsageError(CliContext& ctx, const QString& commandName);

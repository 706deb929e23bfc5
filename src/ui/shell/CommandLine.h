#pragma once

#include <QStringList>
#include <QTextStream>
#include <optional>

// The devices named by "--port DEVICE" (or "--port=DEVICE") options, in order. Other
// arguments (Qt's own, such as -platform) are left to their readers.
QStringList PortOptions(const QStringList& arguments);

// The files named on the command line, in order: every argument that is neither an option
// nor the device of a "--port" option. Arguments after "--" are files whatever they look
// like.
QStringList FileArguments(const QStringList& arguments);

// What the desktop program answers before it opens a window (so without a display):
// "--help" and "--version" print to out and give exit status 0; an option that neither
// the program nor Qt knows prints the usage to err and gives 2. Nothing: run the program.
std::optional<int> AnswerWithoutWindow(const QStringList& arguments, QTextStream& out,
                                       QTextStream& err);

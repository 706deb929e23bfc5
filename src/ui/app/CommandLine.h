#pragma once

#include <QStringList>

// The devices named by "--port DEVICE" (or "--port=DEVICE") options, in order. Other
// arguments (Qt's own, such as -platform) are left to their readers.
QStringList PortOptions(const QStringList& arguments);

// The files named on the command line, in order: every argument that is neither an option
// nor the device of a "--port" option. Arguments after "--" are files whatever they look
// like.
QStringList FileArguments(const QStringList& arguments);

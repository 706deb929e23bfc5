#pragma once

#include <QStringList>

// The devices named by "--port DEVICE" (or "--port=DEVICE") options, in order. Other
// arguments (Qt's own, such as -platform) are left to their readers.
QStringList PortOptions(const QStringList& arguments);

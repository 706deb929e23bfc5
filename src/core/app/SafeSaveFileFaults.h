#pragma once

#include <QtGlobal>
#include <functional>

// For tests only: makes the writes of the in-place save fail as a failing device would, so
// that the tests can see what a device error in the middle of them leaves behind.
enum class InPlaceWrite {
    Backup,  // the old content into its copy in the temporary folder
    Copy,    // the new content over the old one
    Restore, // the old content back from its copy
};
// Asked before each such write, with the offset it writes at; an error number fails that
// write with it, 0 lets it through.
using InPlaceFault = std::function<int(InPlaceWrite write, qint64 offset)>;
// An empty fault ends the faults.
void SetInPlaceFaultForTests(InPlaceFault fault);

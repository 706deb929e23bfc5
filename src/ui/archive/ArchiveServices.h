#pragma once

#include "ui/app/TaskServices.h"

class CDevice;
class CIni;
class Ui;

// What the Archive window uses: the archive's settings, the meter families' record layouts
// for the tables, the Ui for what went wrong, and the runner's services, under which the
// archive's work runs off the window's thread.
struct ArchiveServices {
    Ui& ui;
    const CDevice& device;
    CIni& ini;
    BusyState& busy;
    MeterLink& link;
    CUsrDefProg& usrDefProg;

    TaskServices tasks() const { return TaskServices(ui, busy, link, usrDefProg); }
};

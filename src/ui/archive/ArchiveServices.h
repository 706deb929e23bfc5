#pragma once

#include "ui/app/TaskServices.h"

class CDevice;
class CIni;
class CLogin;
class CPrint;
class Ui;

// What the Archive window uses: the archive's settings, the meter families' record layouts
// for the tables, the Ui for what went wrong, the runner's services, under which the
// archive's work runs off the window's thread, the printer of the windows' reports, and the
// login, whose name every change to the archive records beside the account that made it.
struct ArchiveServices {
    Ui& ui;
    const CDevice& device;
    CIni& ini;
    BusyState& busy;
    MeterLink& link;
    CUsrDefProg& usrDefProg;
    CPrint& print;
    const CLogin& login;

    TaskServices tasks() const { return TaskServices(ui, busy, link, usrDefProg); }
    PrintServices printing() const { return PrintServices(ui, busy, print); }
};

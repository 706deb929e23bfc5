#pragma once

#include "ui/app/TaskServices.h"

class BusyState;
class CCommunication;
class CDevice;
class CIni;
class CUsrDefProg;
class MeterLink;
class Ui;

// What the meter search uses: the link and the port it found, the device that recognises
// the meter and goes online, the busy state of the search and the settings' choice of
// meters.
struct MeterServices {
    Ui& ui;
    BusyState& busy;
    MeterLink& link;
    CCommunication& communication;
    CDevice& device;
    CUsrDefProg& usrDefProg;
    CIni& ini;

    TaskServices tasks() const { return {ui, busy, link, usrDefProg}; }
};

#pragma once

#include "ui/app/TaskServices.h"

class BusyState;
class CCalibration;
class CDevice;
class CIni;
class CLogin;
class CMath;
class CUsrDefProg;
class MeterLink;
class Ui;

// What the program console and the program editor use: the programs of the meter and of
// the work directory, the meter's state, the user who signs a program, the calibration
// panel's line and plot, and the pictures of the settings.
struct ProgramServices {
    Ui& ui;
    BusyState& busy;
    MeterLink& link;
    CDevice& device;
    CLogin& login;
    CUsrDefProg& usrDefProg;
    CCalibration& calibration;
    CMath& math;
    CIni& ini;

    TaskServices tasks() const { return {ui, busy, link, usrDefProg}; }
};

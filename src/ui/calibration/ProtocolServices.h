#pragma once

#include "ui/app/TaskServices.h"

class BusyState;
class CCalProtocol;
class CDevice;
class CIni;
class CPrint;
class CUsrDefProg;
class MeterLink;
class Ui;

// What the calibration protocol windows use: the protocol held, the meter's channels, the
// runner that reads the protocol from the meter, the printouts and the maker's logo.
struct ProtocolServices {
    Ui& ui;
    BusyState& busy;
    MeterLink& link;
    CDevice& device;
    CUsrDefProg& usrDefProg;
    CCalProtocol& calProtocol;
    CPrint& print;
    CIni& ini;

    TaskServices tasks() const { return {ui, busy, link, usrDefProg}; }
    PrintServices printing() const { return {ui, busy, print}; }
};

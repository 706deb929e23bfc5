#pragma once

#include "app/BusyState.h"
#include "app/CConfig.h"
#include "app/CIni.h"
#include "app/Ui.h"
#include "calibration/CCalProtocol.h"
#include "calibration/CCalibration.h"
#include "calibration/CMath.h"
#include "data/CExportExcel.h"
#include "data/CExportXlsx.h"
#include "data/CImportMVal.h"
#include "data/CMeasVal.h"
#include "data/CPrint.h"
#include "meter/CCommunication.h"
#include "meter/CDevice.h"
#include "meter/CLogin.h"
#include "meter/MeterLink.h"
#include "meter/MeterSession.h"
#include "programs/CUsrDefProg.h"

#include <memory>

// The program-wide service objects, one instance each, created by the composition roots
// (the main window, the command line) and alive until they end. Members are declared, and
// so created, in the order the program creates them; each service receives in its
// constructor only the siblings it uses (a service may name one declared after it: it
// keeps the reference and uses it only once everything is built). Only the composition
// roots include this header; everything else takes the services it uses.
// Nothing is global: a test builds its own Services around a scripted Ui and link.
class Services {
public:
    Services(Ui& ui, std::unique_ptr<MeterLink> meterLink) : ui(ui), m_link(std::move(meterLink)) {}
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    Ui& ui;
    // Set while an operation talks to the meter or yields in a loop; the windows follow it.
    BusyState busy;

private:
    std::unique_ptr<MeterLink> m_link;

public:
    MeterLink& link() { return *m_link; }

    // Creation order of the program's service objects.
    CMeasVal measVal{device, ui};
    CImportMVal importMVal{meter()};
    CExportExcel exportExcel{device, busy, ui};
    CExportXlsx exportXlsx{device, ui};
    CDevice device{meter()};
    CCommunication communication{*m_link};
    CLogin login;
    CConfig config{ui};
    CUsrDefProg usrDefProg{meter(), config, device};
    CCalProtocol calProtocol{meter(), config, device, login};
    CMath math{ui};
    CCalibration calibration{math, ui};
    CPrint print{ui, busy, device, calProtocol, ini};
    CIni ini{ui};

    // What a conversation with the meter needs, for the services and windows that hold one.
    MeterSession meter() { return {*m_link, communication, busy, ui}; }
};

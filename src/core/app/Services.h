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
#include "programs/CUsrDefProg.h"

#include <memory>

// The program-wide service objects, one instance each, created by the main window (or
// the command line) and alive until it closes. Members are declared, and so created, in
// the order the program creates them; each service reaches its siblings through here.
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
    CMeasVal measVal{*this};
    CImportMVal importMVal{*this};
    CExportExcel exportExcel{*this};
    CExportXlsx exportXlsx{*this};
    CDevice device{*this};
    CCommunication communication{*m_link};
    CLogin login;
    CConfig config{ui};
    CUsrDefProg usrDefProg{*this};
    CCalProtocol calProtocol{*this};
    CMath math{ui};
    CCalibration calibration{*this};
    CPrint print{*this};
    CIni ini{ui};
};

#include "cli/CliContext.h"

#include "app/Services.h"

Ui& CliContext::ui() {
    return services().ui;
}

MeterLink& CliContext::link() {
    return services().link();
}

CCommunication& CliContext::communication() {
    return services().communication;
}

CDevice& CliContext::device() {
    return services().device;
}

CLogin& CliContext::login() {
    return services().login;
}

CIni& CliContext::ini() {
    return services().ini;
}

CMeasVal& CliContext::measVal() {
    return services().measVal;
}

CImportMVal& CliContext::importMVal() {
    return services().importMVal;
}

CExportExcel& CliContext::exportExcel() {
    return services().exportExcel;
}

CExportXlsx& CliContext::exportXlsx() {
    return services().exportXlsx;
}

CUsrDefProg& CliContext::usrDefProg() {
    return services().usrDefProg;
}

CCalProtocol& CliContext::calProtocol() {
    return services().calProtocol;
}

CMath& CliContext::math() {
    return services().math;
}

CCalibration& CliContext::calibration() {
    return services().calibration;
}

CPrint& CliContext::print() {
    return services().print;
}

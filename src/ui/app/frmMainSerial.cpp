#include "app/Services.h"
#include "ui/app/frmMain.h"

bool frmMain::COMScanPorts(int& intPortNum, QString& strBaudrate) {
    return services().link().COMScanPorts(intPortNum, strBaudrate);
}

bool frmMain::COMInit(int intPortNum, const QString& strBaudrate, int intMaxAnswTime_s) {
    return services().link().COMInit(intPortNum, strBaudrate, intMaxAnswTime_s);
}

bool frmMain::COMSendAndReceive(const QString& strSend, QString& strAnswer) {
    return services().link().COMSendAndReceive(strSend, strAnswer);
}

bool frmMain::COMChangeAnswerTime(int intMaxAnswTime_s) {
    return services().link().COMChangeAnswerTime(intMaxAnswTime_s);
}

bool frmMain::COMDeinit() {
    return services().link().COMDeinit();
}

bool frmMain::COMStop() {
    return services().link().COMStop();
}

bool frmMain::COMContinue() {
    return services().link().COMContinue();
}

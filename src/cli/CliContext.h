#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class CCalibration;
class CCalProtocol;
class CCommunication;
class CDevice;
class CExportExcel;
class CExportXlsx;
class CImportMVal;
class CIni;
class CLogin;
class CMath;
class CMeasVal;
class CPrint;
class CUsrDefProg;
class MeterLink;
class QTextStream;
class Services;
class Ui;

// What every command gets: the global options, the streams, and the command line's
// services, built on first use (the meter link is made for the --port options then).
// A command takes from here only the services it uses.
struct CliContext {
    QStringList ports; // --port DEVICE, in order
    QString user;      // --user NAME after the login rules
    QTextStream& out;
    QTextStream& err;
    std::function<Services&()> services;

    Ui& ui();
    MeterLink& link();
    CCommunication& communication();
    CDevice& device();
    CLogin& login();
    CIni& ini();
    CMeasVal& measVal();
    CImportMVal& importMVal();
    CExportExcel& exportExcel();
    CExportXlsx& exportXlsx();
    CUsrDefProg& usrDefProg();
    CCalProtocol& calProtocol();
    CMath& math();
    CCalibration& calibration();
    CPrint& print();
};

#pragma once

#include "ui/app/TaskServices.h"

class BusyState;
class CDevice;
class CExportExcel;
class CExportXlsx;
class CImportMVal;
class CIni;
class CLogin;
class CMeasVal;
class CPrint;
class CUsrDefProg;
class MeterLink;
class Ui;

// What a dataset document uses: the meter's records and its identity for the header, the
// dataset's file, the spreadsheet exports, the printouts, the archive's settings, and the
// runners that show the wait dialog (the program update only so that closing that dialog
// stops one).
struct DocumentServices {
    Ui& ui;
    BusyState& busy;
    MeterLink& link;
    CMeasVal& measVal;
    CImportMVal& importMVal;
    CExportExcel& exportExcel;
    CExportXlsx& exportXlsx;
    CDevice& device;
    CLogin& login;
    CUsrDefProg& usrDefProg;
    CPrint& print;
    CIni& ini;

    TaskServices tasks() const { return {ui, busy, link, usrDefProg}; }
    PrintServices printing() const { return {ui, busy, print}; }
};

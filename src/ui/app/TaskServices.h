#pragma once

class BusyState;
class CPrint;
class CUsrDefProg;
class MeterLink;
class Ui;

// What the program's runners need: the meter task and the large-file task hold the busy
// state, show their wait dialog through the Ui, and stop the link (and a program update
// between two programs) when the user closes that dialog.
struct TaskServices {
    TaskServices(Ui& ui, BusyState& busy, MeterLink& link, CUsrDefProg& usrDefProg)
        : ui(ui), busy(busy), link(link), usrDefProg(usrDefProg) {}

    Ui& ui;
    BusyState& busy;
    MeterLink& link;
    CUsrDefProg& usrDefProg;
};

// What the print commands need: the quick print's printer and options, the busy state
// that disables them, and the Ui for the dialogs and the failure message.
struct PrintServices {
    PrintServices(Ui& ui, BusyState& busy, CPrint& print) : ui(ui), busy(busy), print(print) {}

    Ui& ui;
    BusyState& busy;
    CPrint& print;
};

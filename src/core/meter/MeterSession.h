#pragma once

class BusyState;
class CCommunication;
class MeterLink;
class Ui;

// What every conversation with the meter needs: the link, the port it was found on, the
// busy state held while the conversation runs, and the Ui its failures are reported to.
// The services that talk to the meter (import, device, programs, protocols) share it.
struct MeterSession {
    MeterLink& link;
    CCommunication& communication;
    BusyState& busy;
    Ui& ui;
};

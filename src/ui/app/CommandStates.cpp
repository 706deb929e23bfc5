#include "ui/app/CommandStates.h"

CommandStates DecideCommandStates(const CommandInputs& in) {
    CommandStates s;
    if (in.online) {
        if (in.ardel) {
            s.calProtPH = false;
            s.programs = false;
        } else {
            s.calProtPH = in.supportsPH;
            s.calProtTurb = in.supportsTurbidity;
        }
    } else {
        s.import = false;
        if (in.onlyArdel60) {
            s.calProtPH = false;
            s.programs = false;
        }
    }
    s.documentButtons = in.numDocs >= (in.documentStays ? 1 : 2);
    if (in.busy) {
        s.import = s.calProtPH = s.calProtTurb = s.programs = s.documentButtons = false;
        s.idle = false;
    }
    return s;
}

#pragma once

// What the command update decides from the meter state and the number of documents.
struct CommandInputs {
    bool online = false;
    bool ardel = false; // an Ardel 20 or Ardel 60 is online
    bool supportsPH = false;
    bool supportsTurbidity = false;
    bool onlyArdel60 = false;
    int numDocs = 0;
    // False while a closing document still counts itself.
    bool documentStays = true;
    // An operation talks to the meter or yields in a loop.
    bool busy = false;
};

struct CommandStates {
    bool import = true; // the documents' mnuImport and, with a document, the button
    bool calProtPH = true;
    bool calProtTurb = true;
    bool programs = true;        // mnuPrograms and the "UsrProgs" button
    bool documentButtons = true; // "Save", "Print", "Import", "Export"
    // New, Open, Close, Save, Save As, Export, Search, Change user, About and the tool bar:
    // everything that could start a second operation or replace the document meanwhile.
    bool idle = true;
};

// Everything starts enabled; the meter state and the document count then take away.
CommandStates DecideCommandStates(const CommandInputs& in);

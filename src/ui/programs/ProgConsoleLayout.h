#pragma once

class BusyState;
class CIni;
class frmProgConsole;

// Builds the program console's controls, as the console's members, and where they stand:
// the two lists with their buttons, the copy buttons between them, the program below, the
// work directory at the bottom.
class ProgConsoleLayout {
public:
    explicit ProgConsoleLayout(frmProgConsole& console);

    void CreateControls();
    void LayOut(BusyState& busy);
    void SetTabOrder();
    void LoadPictures(CIni& ini);

private:
    frmProgConsole& m_console;
};

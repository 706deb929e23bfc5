#pragma once

class CDevice;
class CIni;
class Ui;

// What the Archive window uses: the archive's settings, the meter families' record layouts
// for the tables, and the Ui for what went wrong.
struct ArchiveServices {
    Ui& ui;
    const CDevice& device;
    CIni& ini;
};

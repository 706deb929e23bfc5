#pragma once

class Services;

// The composition root hands each family of windows the services it uses, taken from the
// program's bag; the windows never see the bag itself. The tests build their windows
// through the same functions.

// The program console and editor, and the meter search.
struct MeterServices;
struct ProgramServices;
MeterServices MeterServicesOf(Services& services);
ProgramServices ProgramServicesOf(Services& services);
// The dataset documents, the Archive window and the calibration protocol windows.
struct ArchiveServices;
struct DocumentServices;
struct ProtocolServices;
DocumentServices DocumentServicesOf(Services& services);
ArchiveServices ArchiveServicesOf(Services& services);
ProtocolServices ProtocolServicesOf(Services& services);

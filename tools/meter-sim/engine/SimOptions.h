#pragma once

#include "engine/MeterEngine.h"

#include <QString>
#include <QStringList>
#include <optional>

// Everything the command line of the emulator decides.
struct SimOptions {
    MeterSetup setup;
    int baud = 4800;
    int records = 30;    // generated records, unless recordsFile names the data memory
    QString recordsFile; // raw record lines, one per line
    QString link;        // a symbolic link kept pointing at the device
    QString log;         // every command line received

    static constexpr int kMaxRecords = 200000;
};

// The options of `arguments` (the program name first). Nothing, with `error` set, on a
// usage error; `help` receives the usage text when it was asked for.
std::optional<SimOptions> ParseSimOptions(const QStringList& arguments, QString& error,
                                          QString& help);

#pragma once

#include <QString>

enum class MeterFamily { Photometer, Ardel20, Ardel60 };

// What a meter of a given model name can do: which command groups it knows and which
// program numbers it accepts.
struct MeterModel {
    MeterFamily family = MeterFamily::Photometer;
    bool programs = true;
    bool reducedPrograms = false;
    bool ph = false;
    bool turbidity = false;
    bool extendedTurbidity = false;

    static MeterModel Of(const QString& name);

    // The highest user program number the meter stores (the lowest is always 900).
    int HighestProgram() const { return reducedPrograms ? 949 : 999; }
};

// Major × 100 + minor of a version text such as "2.05"; 0 when it is not of that form.
int FirmwareNumber(const QString& text);

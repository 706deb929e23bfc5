#pragma once

#include <QString>

// The meter models the program knows, with what each of them can do. Names are exactly as
// the meters report them (case and blanks significant).
enum class MeterFamily { Photometer, Ardel20, Ardel60 };

struct MeterModel {
    const char* name;
    MeterFamily family;
    bool reducedUserMethods; // user programs 900 to 949 only
    bool calLineNeedsVariant;
    bool pH;
    bool turbidity;
};

// The model of that exact name, or nullptr.
const MeterModel* FindMeterModel(const QString& name);

// Lowest firmware version (major * 100 + minor) the family is supported with.
int MinimumFirmware(MeterFamily family);

// Substrings of the variant answer that mark the calibration-line variant.
bool HasCalLineVariantNumber(const QString& value);

#include "meter/MeterModels.h"

#include <array>

namespace {

using F = MeterFamily;

//                                name              family        reduced variant pH     turb
constexpr std::array<MeterModel, 12> kModels{{
    {"Zentravox", F::Photometer, false, false, true, false},
    {"Zentravox Turb", F::Photometer, false, true, true, true},
    {"Zentravox pH", F::Photometer, false, false, true, false},
    {"Zentravox STD", F::Photometer, true, false, false, false},
    {"R-2600", F::Photometer, true, false, false, false},
    {"R-2600 Pro", F::Photometer, false, false, true, false},
    {"R-2600 Turb", F::Photometer, false, true, true, true},
    {"DEVICENAME", F::Photometer, false, false, true, true},
    {"Ardel 20 IR", F::Ardel20, false, false, false, true},
    {"Ardel 20 T", F::Ardel20, false, false, false, true},
    {"Ardel 60 IR", F::Ardel60, false, false, false, true},
    {"Ardel 60 T", F::Ardel60, false, false, false, true},
}};

constexpr std::array<const char*, 4> kVariantNumbers{"418250", "418251", "429637", "429638"};

} // namespace

const MeterModel* FindMeterModel(const QString& name) {
    for (const MeterModel& model : kModels) {
        if (name == QLatin1String(model.name)) {
            return &model;
        }
    }
    return nullptr;
}

int MinimumFirmware(MeterFamily family) {
    switch (family) {
    case MeterFamily::Ardel20:
        return 160;
    case MeterFamily::Ardel60:
        return 242;
    case MeterFamily::Photometer:
        break;
    }
    return 180;
}

bool HasCalLineVariantNumber(const QString& value) {
    for (const char* number : kVariantNumbers) {
        if (value.contains(QLatin1String(number))) {
            return true;
        }
    }
    return false;
}

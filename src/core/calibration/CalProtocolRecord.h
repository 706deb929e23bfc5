#pragma once

#include <QString>
#include <array>

// The last calibration protocol of the meter, pH or turbidity, with the lot data of the
// turbidity standards. Values are kept as the text that came from the meter or the file.
struct CalProtocolRecord {
    static constexpr int kMaxPHPoints = 3;
    static constexpr int kMaxStandards = 5;

    bool Valid = false;
    QString Meter;
    QString SerNo;
    QString User;
    bool IsPH = false;
    QString Year, Month, Day;
    QString Hour, Min, Sec;
    QString Interval;
    QString Mode;
    short NumCalPoints = 0;
    QString Slope;
    QString Asy;
    QString SensQuality;
    bool ShowTempF = false;
    bool ShowSlopePC = false;
    std::array<QString, kMaxPHPoints> PHValues;
    std::array<QString, kMaxPHPoints> VoltageValues_mV;
    std::array<QString, kMaxPHPoints> TempValues_C;
    std::array<QString, kMaxStandards> CalStds_FNUNTU;
    QString LOTTotal;
    QString Expiry;
    QString Manufacturer;
    std::array<QString, kMaxStandards> LOTStds;

    // Every text empty, every flag false, no points.
    void Clear() { *this = CalProtocolRecord(); }
};

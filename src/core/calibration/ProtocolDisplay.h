#pragma once

#include <QString>

class CCalProtocol;

// How a protocol's values read on screen and on paper.

// "-58.0 mV/pH", or in percent of the ideal slope with one decimal: "98.0 %".
QString SlopeDisplayText(const QString& strSlope, bool fShowSlopePC);
// "25.0 °C", or converted with one decimal: "77.0 °F".
QString TemperatureDisplayText(CCalProtocol& protocol, const QString& strTemp_C, bool fShowTempF);
// A standard's nominal value: "10.0 FNU/NTU".
QString StandardDisplayText(const QString& strValue);

#include "calibration/ProtocolDisplay.h"

#include "app/DateText.h"
#include "app/NumberText.h"
#include "calibration/CCalProtocol.h"

namespace {

constexpr double kIdealSlope_mVpH = -59.16;

} // namespace

QString SlopeDisplayText(const QString& strSlope, bool fShowSlopePC) {
    if (!fShowSlopePC) {
        return strSlope + QStringLiteral(" mV/pH");
    }
    return OneDecimalText(LeadingNumber(strSlope) / kIdealSlope_mVpH * 100) + QStringLiteral(" %");
}

QString TemperatureDisplayText(CCalProtocol& protocol, const QString& strTemp_C, bool fShowTempF) {
    if (!fShowTempF) {
        return strTemp_C + QStringLiteral(" °C");
    }
    return OneDecimalText(protocol.TempGetFahrenheit(LeadingNumber(strTemp_C))) +
           QStringLiteral(" °F");
}

QString StandardDisplayText(const QString& strValue) {
    return strValue + QStringLiteral(" FNU/NTU");
}

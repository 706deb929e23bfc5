#include "calibration/ProtocolData.h"

#include "calibration/CCalProtocol.h"

std::optional<PHProtocolData> ReadPHProtocol(CCalProtocol& protocol) {
    PHProtocolData d;
    if (!protocol.GetProtocolPH(d.meter, d.serNo, d.user, d.date, d.time, d.interval, d.mode,
                                d.slope, d.asy, d.quality, d.showTempF, d.showSlopePC, d.points,
                                d.ph, d.mV, d.temp)) {
        return std::nullopt;
    }
    return d;
}

std::optional<TurbidityProtocolData> ReadTurbidityProtocol(CCalProtocol& protocol) {
    TurbidityProtocolData d;
    if (!protocol.GetProtocolTurbidity(d.meter, d.serNo, d.user, d.date, d.time, d.interval, d.mode,
                                       d.points, d.standards) ||
        !protocol.GetChargeID(d.lotTotal, d.expiry, d.manufacturer, d.lots)) {
        return std::nullopt;
    }
    return d;
}

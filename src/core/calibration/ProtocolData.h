#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class CCalProtocol;

// The held protocol's values in one piece, for the printouts that lay them out.
struct PHProtocolData {
    QString meter, serNo, user, date, time, interval, mode, slope, asy, quality;
    bool showTempF = false;
    bool showSlopePC = false;
    short points = 0;
    QStringList ph, mV, temp;
};

struct TurbidityProtocolData {
    QString meter, serNo, user, date, time, interval, mode;
    short points = 0;
    QStringList standards;
    QString lotTotal, expiry, manufacturer;
    QStringList lots; // the standards' comments
};

// Nothing when the protocol object holds no protocol of that kind.
std::optional<PHProtocolData> ReadPHProtocol(CCalProtocol& protocol);
std::optional<TurbidityProtocolData> ReadTurbidityProtocol(CCalProtocol& protocol);

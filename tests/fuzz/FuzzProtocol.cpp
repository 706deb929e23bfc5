#include "FuzzProtocol.h"

#include "FuzzServices.h"
#include "calibration/CCalProtocol.h"
#include "calibration/CalProtocolRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>

namespace {

QString ProtocolPath(int n) {
    return QDir::tempPath() + QStringLiteral("/mervex-fuzz-%1-protocol-%2.csv")
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(n);
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool HoldsPoints(const QStringList& list, short points,
                 int kept = CalProtocolRecord::kMaxPHPoints) {
    return list.size() >= std::clamp<int>(points, 0, kept);
}

} // namespace

void CheckProtocolViews(CCalProtocol& protocol) {
    const bool valid = protocol.IsProtocolValid();
    const bool isPH = protocol.IsProtocolPH();
    QString meter, serNo, user, date, time, interval, mode, slope, asy, quality;
    FuzzCheck(protocol.GetProtocolHeader(meter, serNo, user) == valid);

    bool showF = false;
    bool showPC = false;
    short points = -1;
    QStringList ph, volt, temp;
    if (protocol.GetProtocolPH(meter, serNo, user, date, time, interval, mode, slope, asy, quality,
                               showF, showPC, points, ph, volt, temp)) {
        FuzzCheck(valid && isPH && HoldsPoints(ph, points) && HoldsPoints(volt, points) &&
                  HoldsPoints(temp, points));
    }
    QStringList standards;
    if (protocol.GetProtocolTurbidity(meter, serNo, user, date, time, interval, mode, points,
                                      standards)) {
        FuzzCheck(valid && !isPH &&
                  HoldsPoints(standards, points, CalProtocolRecord::kMaxStandards));
    }
    short year = 0;
    short month = 0;
    short day = 0;
    FuzzCheck(!protocol.GetProtocolDate(year, month, day) || valid);
}

void CheckProtocolFileRoundTrip(Services& services) {
    CCalProtocol& held = services.calProtocol;
    if (!held.IsProtocolValid()) {
        return;
    }
    const QString first = ProtocolPath(1);
    const QString second = ProtocolPath(2);
    CCalProtocol reread(services);
    FuzzCheck(held.SaveToFile(first) && reread.ReadFromFile(first) && reread.IsProtocolValid() &&
              reread.IsProtocolPH() == held.IsProtocolPH() && reread.SaveToFile(second) &&
              Bytes(first) == Bytes(second));
    QFile::remove(first);
    QFile::remove(second);
}

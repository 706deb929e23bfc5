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

QString Flag(bool value) {
    return QString::number(value ? 1 : 0);
}

void AddPHView(CCalProtocol& protocol, QStringList& view) {
    QString meter, serNo, user, date, time, interval, mode, slope, asy, quality;
    bool showF = false;
    bool showPC = false;
    short points = -1;
    QStringList ph, volt, temp;
    const bool ok = protocol.GetProtocolPH(meter, serNo, user, date, time, interval, mode, slope,
                                           asy, quality, showF, showPC, points, ph, volt, temp);
    FuzzCheck(!ok ||
              (protocol.IsProtocolValid() && protocol.IsProtocolPH() && HoldsPoints(ph, points) &&
               HoldsPoints(volt, points) && HoldsPoints(temp, points)));
    view << Flag(ok) << meter << serNo << user << date << time << interval << mode << slope << asy
         << quality << Flag(showF) << Flag(showPC) << QString::number(points) << ph << volt << temp;
}

void AddTurbidityView(CCalProtocol& protocol, QStringList& view) {
    QString meter, serNo, user, date, time, interval, mode;
    short points = -1;
    QStringList standards;
    const bool ok = protocol.GetProtocolTurbidity(meter, serNo, user, date, time, interval, mode,
                                                  points, standards);
    FuzzCheck(!ok || (protocol.IsProtocolValid() && !protocol.IsProtocolPH() &&
                      HoldsPoints(standards, points, CalProtocolRecord::kMaxStandards)));
    view << Flag(ok) << meter << serNo << user << date << time << interval << mode
         << QString::number(points) << standards;
}

// What the file makes of a field: separators become "," and line breaks blanks.
QStringList AsInFile(QStringList texts) {
    for (QString& text : texts) {
        text.replace(QLatin1Char(';'), QLatin1Char(','));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return texts;
}

} // namespace

QStringList ProtocolView(CCalProtocol& protocol) {
    const bool valid = protocol.IsProtocolValid();
    QStringList view{Flag(valid), Flag(protocol.IsProtocolPH())};
    QString meter, serNo, user;
    const bool header = protocol.GetProtocolHeader(meter, serNo, user);
    FuzzCheck(header == valid);
    view << meter << serNo << user;
    AddPHView(protocol, view);
    AddTurbidityView(protocol, view);
    short year = 0;
    short month = 0;
    short day = 0;
    const bool dated = protocol.GetProtocolDate(year, month, day);
    FuzzCheck(!dated || valid);
    view << Flag(dated) << QString::number(year) << QString::number(month) << QString::number(day);
    QString lot, expiry, maker;
    QStringList lots;
    FuzzCheck(protocol.GetChargeID(lot, expiry, maker, lots) &&
              lots.size() >= CalProtocolRecord::kMaxStandards);
    view << lot << expiry << maker << lots;
    return view;
}

void CheckProtocolFileRoundTrip(Services& services) {
    CCalProtocol& held = services.calProtocol;
    if (!held.IsProtocolValid()) {
        return;
    }
    const QString first = ProtocolPath(1);
    const QString second = ProtocolPath(2);
    CCalProtocol reread(services.meter(), services.config, services.device, services.login);
    FuzzCheck(held.SaveToFile(first) && reread.ReadFromFile(first));
    if (ReadsBackAsWritten(first, ProtocolView(held).join(QString()))) {
        FuzzCheck(ProtocolView(reread) == AsInFile(ProtocolView(held)) &&
                  reread.SaveToFile(second) && Bytes(first) == Bytes(second));
    }
    QFile::remove(first);
    QFile::remove(second);
}

#include "data/PrintoutLines.h"

#include "app/DateText.h"
#include "app/TextTables.h"
#include "calibration/CCalProtocol.h"
#include "calibration/ProtocolData.h"
#include "calibration/ProtocolDisplay.h"

#include <algorithm>

namespace {

constexpr int kIndent = 12;
const QString kBlank = QStringLiteral(" ");
const QString kTab = QStringLiteral("\t");

// The four lines both protocol kinds start their body with.
QStringList CalibrationLines(const QString& strCalData, const QString& strCalTime,
                             const QString& strInterval, const QString& strMode) {
    return {LabelLine(1049, strCalData), LabelLine(1050, strCalTime),
            LabelLine(1222, strInterval + kBlank + LoadResString(1223)), LabelLine(1224, strMode)};
}

std::optional<QStringList> PHBodyLines(CCalProtocol& protocol) {
    const std::optional<PHProtocolData> d = ReadPHProtocol(protocol);
    if (!d) {
        return std::nullopt;
    }
    QStringList lines = CalibrationLines(d->date, d->time, d->interval, d->mode);
    lines << LabelLine(1225, SlopeDisplayText(d->slope, d->showSlopePC))
          << LabelLine(1226, d->asy + QStringLiteral(" mV")) << LabelLine(1227, d->quality)
          << QString();
    const int shown = std::min<int>(d->points, static_cast<int>(d->ph.size()));
    for (int i = 0; i < shown; ++i) {
        lines << Indented(QStringLiteral("#%1").arg(i + 1) + kTab + d->ph[i] + kTab + d->mV[i] +
                          QStringLiteral(" mV") + kTab +
                          TemperatureDisplayText(protocol, d->temp[i], d->showTempF));
    }
    lines << QString();
    return lines;
}

std::optional<QStringList> TurbidityBodyLines(CCalProtocol& protocol) {
    const std::optional<TurbidityProtocolData> d = ReadTurbidityProtocol(protocol);
    if (!d) {
        return std::nullopt;
    }
    QStringList lines = CalibrationLines(d->date, d->time, d->interval, d->mode);
    lines << QString() << LabelLine(1232, d->lotTotal) << LabelLine(1233, d->expiry)
          << LabelLine(1234, d->manufacturer);
    const int shown = std::min<int>(d->points, static_cast<int>(d->standards.size()));
    for (int i = 0; i < shown; ++i) {
        lines << Indented(StandardDisplayText(d->standards[i]) + QStringLiteral(": ") +
                          d->lots.value(i) + kBlank + LoadResString(1026));
    }
    lines << QString();
    return lines;
}

} // namespace

QString Indented(const QString& text) {
    return text.isEmpty() ? text : QString(kIndent, QLatin1Char(' ')) + text;
}

QString LabelLine(int labelString, const QString& value) {
    return Indented(LoadResString(labelString) + kBlank + value);
}

QString FieldsLine(const QStringList& fields, int count) {
    QString line;
    for (int i = 0; i < count; ++i) {
        line += fields.value(i) + QStringLiteral("; ");
    }
    return Indented(line);
}

QStringList DatasetHeaderLines(const QString& strDeviceName, const QString& strSerNo,
                               const QString& strUser, const QDateTime& mvalDate,
                               const QString& strSelection) {
    QStringList lines{LabelLine(1063, strDeviceName), LabelLine(1064, strSerNo),
                      LabelLine(1176, strUser), LabelLine(1049, ShortDateText(mvalDate.date())),
                      LabelLine(1050, LongTimeText(mvalDate.time()))};
    if (!strSelection.isEmpty()) {
        lines << LabelLine(1644, strSelection);
    }
    return lines << QString();
}

QStringList ProtocolHeaderLines(bool fPH, const QDateTime& printedAt, const QString& strMeter,
                                const QString& strSerNo, const QString& strUser) {
    return {Indented(LoadResString(fPH ? 1220 : 1219)),
            Indented(GeneralDateText(printedAt)),
            QString(),
            LabelLine(1063, strMeter),
            LabelLine(1064, strSerNo),
            LabelLine(1176, strUser),
            QString()};
}

std::optional<QStringList> ProtocolBodyLines(CCalProtocol& protocol) {
    return protocol.IsProtocolPH() ? PHBodyLines(protocol) : TurbidityBodyLines(protocol);
}

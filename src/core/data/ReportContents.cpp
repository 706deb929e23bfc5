#include "data/ReportContents.h"

#include "app/DateText.h"
#include "app/TextTables.h"
#include "calibration/CCalProtocol.h"
#include "calibration/ProtocolData.h"
#include "calibration/ProtocolDisplay.h"

#include <algorithm>

namespace {

const QString kDash = QStringLiteral(" \u2014 ");

ReportField Field(int label, const QString& value) {
    return {LoadResString(label), value};
}

// A label of the windows as a column title: without its colon.
QString Title(int label) {
    QString title = LoadResString(label);
    if (title.endsWith(QLatin1Char(':'))) {
        title.chop(1);
    }
    return title.trimmed();
}

QString DocumentTitle(const QString& what, const QString& meter, const QString& serNo,
                      const QString& date) {
    return what + kDash + meter + QLatin1Char(' ') + serNo + kDash + date;
}

QList<ReportField> CalibrationFields(const QString& date, const QString& time,
                                     const QString& interval, const QString& mode) {
    return {Field(1049, date), Field(1050, time),
            Field(1222, interval + QLatin1Char(' ') + LoadResString(1223)), Field(1224, mode)};
}

ReportContent ProtocolFrame(bool fPH, const QString& meter, const QString& serNo,
                            const QString& user, const QString& date) {
    ReportContent content;
    content.heading = LoadResString(fPH ? 1220 : 1219);
    content.documentTitle = DocumentTitle(content.heading, meter, serNo, date);
    content.header = {Field(1063, meter), Field(1064, serNo), Field(1176, user)};
    return content;
}

std::optional<ReportContent> PHContent(CCalProtocol& protocol) {
    const std::optional<PHProtocolData> d = ReadPHProtocol(protocol);
    if (!d) {
        return std::nullopt;
    }
    ReportContent content = ProtocolFrame(true, d->meter, d->serNo, d->user, d->date);
    content.details = CalibrationFields(d->date, d->time, d->interval, d->mode);
    content.details << Field(1225, SlopeDisplayText(d->slope, d->showSlopePC))
                    << Field(1226, d->asy + QStringLiteral(" mV")) << Field(1227, d->quality);
    content.columns = {{Title(1620), true},
                       {QStringLiteral("pH"), true},
                       {Title(1621), true},
                       {Title(1622), false},
                       {Title(1623), true}};
    const int shown = std::min<int>(d->points, static_cast<int>(d->ph.size()));
    for (int i = 0; i < shown; ++i) {
        content.rows << QStringList{
            QString::number(i + 1), d->ph[i], d->mV.value(i), QStringLiteral("mV"),
            TemperatureDisplayText(protocol, d->temp.value(i), d->showTempF)};
    }
    return content;
}

std::optional<ReportContent> TurbidityContent(CCalProtocol& protocol) {
    const std::optional<TurbidityProtocolData> d = ReadTurbidityProtocol(protocol);
    if (!d) {
        return std::nullopt;
    }
    ReportContent content = ProtocolFrame(false, d->meter, d->serNo, d->user, d->date);
    content.details = CalibrationFields(d->date, d->time, d->interval, d->mode);
    content.columns = {{Title(1235), true},  {Title(1621), true},  {Title(1622), false},
                       {Title(1232), false}, {Title(1233), false}, {Title(1234), false},
                       {Title(1236), false}, {Title(1237), false}};
    const int shown = std::min<int>(d->points, static_cast<int>(d->standards.size()));
    for (int i = 0; i < shown; ++i) {
        content.rows << QStringList{QString::number(i + 1),
                                    d->standards[i],
                                    QStringLiteral("FNU/NTU"),
                                    d->lotTotal,
                                    d->expiry,
                                    d->manufacturer,
                                    d->lots.value(i),
                                    LoadResString(1026)};
    }
    return content;
}

} // namespace

ReportContent DatasetReportContent(const QString& strDeviceName, const QString& strSerNo,
                                   const QString& strUser, const QDateTime& mvalDate,
                                   const QString& strFileName, const QList<ReportColumn>& columns,
                                   QList<QStringList> rows, const QString& strSelection) {
    ReportContent content;
    const QString date = ShortDateText(mvalDate.date());
    content.documentTitle = DocumentTitle(LoadResString(1614), strDeviceName, strSerNo, date);
    content.header = {Field(1063, strDeviceName), Field(1064, strSerNo), Field(1176, strUser),
                      Field(1049, date), Field(1050, LongTimeText(mvalDate.time()))};
    if (!strFileName.isEmpty()) {
        content.header << Field(1615, strFileName);
    }
    if (!strSelection.isEmpty()) {
        content.header << ReportField{LoadResString(1644), strSelection, true};
    }
    content.columns = columns;
    content.rows = std::move(rows);
    return content;
}

std::optional<ReportContent> ProtocolReportContent(CCalProtocol& protocol) {
    return protocol.IsProtocolPH() ? PHContent(protocol) : TurbidityContent(protocol);
}

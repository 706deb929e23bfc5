#pragma once

#include "data/ReportContent.h"

#include <QDateTime>
#include <QList>
#include <optional>

class CCalProtocol;

// The printouts' contents as table reports; the caller adds the time of printing, the
// picture and the signature choice.

// A dataset: meter, serial number, user, import date and time, the file name (when there
// is one) and the selection printed (when `strSelection` is not empty) on every page, then
// the records under the meter's column titles (whole and decimal columns aligned right).
ReportContent DatasetReportContent(const QString& strDeviceName, const QString& strSerNo,
                                   const QString& strUser, const QDateTime& mvalDate,
                                   const QString& strFileName, const QList<ReportColumn>& columns,
                                   QList<QStringList> rows,
                                   const QString& strSelection = QString());

// The held calibration protocol: its calibration data, then the pH points (value, unit,
// temperature) or the turbidity standards (value, unit, the set's lot, expiry and
// manufacturer, the standard's comment and state). Nothing when no protocol is held.
std::optional<ReportContent> ProtocolReportContent(CCalProtocol& protocol);

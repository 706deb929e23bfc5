#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

class CCalProtocol;

// The text lines of the two printouts, without the two empty lines at the top of a page.

// Twelve blanks before the text; an empty text stays an empty line.
QString Indented(const QString& text);
// Indented label (a string number), a blank and the value.
QString LabelLine(int labelString, const QString& value);
// Indented: each of the first `count` fields followed by "; " (missing fields are empty).
QString FieldsLine(const QStringList& fields, int count);

// Meter, serial number, user, date and time of the dataset, the selection printed (when
// `strSelection` is not empty: "41 enregistrements sur 300"), then an empty line.
QStringList DatasetHeaderLines(const QString& strDeviceName, const QString& strSerNo,
                               const QString& strUser, const QDateTime& mvalDate,
                               const QString& strSelection = QString());

// Title, the time of printing, then meter, serial number and user of the protocol.
QStringList ProtocolHeaderLines(bool fPH, const QDateTime& printedAt, const QString& strMeter,
                                const QString& strSerNo, const QString& strUser);
// The calibration data, points or standards with their lots; nothing when the protocol
// object holds no protocol of its kind.
std::optional<QStringList> ProtocolBodyLines(CCalProtocol& protocol);

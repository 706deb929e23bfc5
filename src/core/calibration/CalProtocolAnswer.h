#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct CalProtocolRecord;

// The meter's answers to the protocol commands. The caller passes a cleared record; a
// rejected answer gives false and may leave fields filled. Non-numeric text where a
// number is needed throws MervexError.

// The fields of an answer: without the opening line break and the OK terminator, split
// at ","; field 0 is not used. Nothing when the answer does not end with the terminator.
std::optional<QStringList> ProtocolAnswerFields(const QString& answer);

// The standard (8 fields) or the extended turbidity answer; the field count decides.
bool ParseTurbidityAnswer(const QString& answer, CalProtocolRecord& record);
// The pH answer: 16, 18, 21 or 24 fields.
bool ParsePHAnswer(const QString& answer, CalProtocolRecord& record);

// The display text stored for the meter's sensor quality code.
QString SensorQualityText(int code);
// Year, month, day, hour, minute and second from six fields starting at `first`.
void TakeDateAndTime(const QStringList& fields, qsizetype first, CalProtocolRecord& record);
// The fixed protocol of meters that only know the three standards.
void SetStandardTurbidity(CalProtocolRecord& record);

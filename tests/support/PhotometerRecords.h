#pragma once

#include <QString>
#include <QStringList>

// Photometer records as wide as the meter writes them: every one of the 16 fields used,
// the calibration date and time last.
QStringList WidePhotometerRecords(int count);

// A record's line of a printout as a PDF reader gives it back: each field followed by
// "; ", blanks simplified.
QString PrintedRecordLine(const QString& record);

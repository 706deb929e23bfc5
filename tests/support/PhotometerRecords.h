#pragma once

#include <QString>
#include <QStringList>

// Photometer records as wide as the meter writes them: every one of the 16 fields used,
// the calibration date and time last.
QStringList WidePhotometerRecords(int count);

// A record's line of a printout as a PDF reader gives it back: each field followed by
// "; ", blanks simplified.
QString PrintedRecordLine(const QString& record);

// The same record's line of a table report as a PDF reader gives it back: the fields in
// their columns, blanks simplified.
QString ReportRecordLine(const QString& record);

#pragma once

#include "data/MValSet.h"

#include <QString>
#include <QStringList>

// Photometer records as wide as the meter writes them: every one of the 16 fields used,
// the calibration date and time last.
QStringList WidePhotometerRecords(int count);
// A photometer's dataset of `count` such records, as an import gives it.
MValSet WidePhotometerDataset(int count);

// A record's line of a printout as a PDF reader gives it back: each field followed by
// "; ", blanks simplified.
QString PrintedRecordLine(const QString& record);

// The same record's line of a table report as a PDF reader gives it back: the fields in
// their columns, blanks simplified.
QString ReportRecordLine(const QString& record);

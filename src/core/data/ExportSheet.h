#pragma once

#include "meter/RecordLayout.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class CDevice;

// A dataset's columns as every table, export and report shows them: its meter's record
// layout with the titles in the active language.
struct ExportLayout {
    RecordLayout record;
    QStringList titles;
    int count = 0; // 0: no dataset
};

// The meter's dataset table layout (10 or 16 columns).
ExportLayout ExportLayoutFor(const CDevice& device, const QString& strMeter);

// The header block of rows 2 to 6: meter, serial number, user, date and time of the import;
// in row 7 the selection the records are, when `strSelection` is not empty.
QStringList ExportHeaderLines(const QString& strMeter, const QString& strSerNo,
                              const QString& strUser, const QDateTime& curDate,
                              const QString& strSelection = QString());

// The sheet's rows, numbered from 1: the header block starts in row 2, the column titles
// are in row 8, record k is in row 8 + k.
inline constexpr int kExportHeaderRow = 2;
inline constexpr int kExportTitleRow = 8;
inline constexpr int kExportMaxColumns = RecordLayout::kMaxColumns;

#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

enum class ColumnContent;

class CDevice;

// What every spreadsheet export writes above the records, whatever the file type.
struct ExportLayout {
    QStringList titles;
    QList<short> widths;
    QList<int> kinds; // ColumnKind of each column
    QList<ColumnContent> contents;
    int count = 0; // 0: the meter has no table layout
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
inline constexpr int kExportMaxColumns = 16;

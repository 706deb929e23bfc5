#pragma once

#include "qc/LimitFlags.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class QIODevice;
class TableOutput;
struct ArchivedRecord;

// Archived records as a file for statistics programs and LIMS imports: UTF-8, ISO 8601
// times, "." as decimal separator; in JSON the numbers are numbers and a missing one is
// null.
enum class ArchiveFormat { Csv, Tsv, Json };

std::optional<ArchiveFormat> ArchiveFormatNamed(const QString& name);

// Writes the records to a device as they come, a buffer at a time, so that a result of any
// size costs the same memory: the header (or JSON's opening bracket) at once, a line (an
// object) per Write, the end of the document at Finish. JSON keys follow the columns' order.
// The last column says whether the first value is beyond the `limits` of its program (none
// when no limits apply to it).
class ArchiveOutput {
public:
    ArchiveOutput(QIODevice& device, ArchiveFormat format, LimitFlags limits = {});
    ~ArchiveOutput();
    ArchiveOutput(const ArchiveOutput&) = delete;
    ArchiveOutput& operator=(const ArchiveOutput&) = delete;

    // False once the device refused a write (a full disk, a closed pipe); what follows is
    // dropped.
    bool Write(const ArchivedRecord& record);
    // Ends the document and writes what is buffered; false when any write failed.
    bool Finish();

    // The whole file of records already in memory.
    static QByteArray Of(const QList<ArchivedRecord>& records, ArchiveFormat format);

private:
    std::unique_ptr<TableOutput> m_table;
    LimitFlags m_limits;
};

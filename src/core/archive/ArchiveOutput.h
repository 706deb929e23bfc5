#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

struct ArchivedRecord;

// Archived records as a file for statistics programs and LIMS imports: UTF-8, ISO 8601
// times, "." as decimal separator; in JSON the numbers are numbers and a missing one is
// null.
enum class ArchiveFormat { Csv, Tsv, Json };

std::optional<ArchiveFormat> ArchiveFormatNamed(const QString& name);
QByteArray ArchiveOutput(const QList<ArchivedRecord>& records, ArchiveFormat format);

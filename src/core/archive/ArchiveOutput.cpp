#include "archive/ArchiveOutput.h"

#include "archive/ArchiveRecord.h"
#include "archive/TableOutput.h"

#include <QBuffer>
#include <array>

namespace {

// The columns, in order. New columns are appended, so that readers of the earlier ones need
// no change.
constexpr std::array kNames = {
    "model",       "serial_number", "user",        "record_number", "measured_at",
    "program",     "citation",      "sample_id",   "reference",     "dilution",
    "value1",      "value1_text",   "unit1",       "state1",        "value2",
    "value2_text", "unit2",         "state2",      "flags",         "calibrated_at",
    "raw_line",    "record_id",     "archived_at", "beyond_limit",  "valid"};

// archived_at is the PC's clock in UTC: a pull "archived since" sees no hour twice.
std::array<TableCell, kNames.size()> Cells(const ArchivedRecord& a, const LimitFlags& limits) {
    const ArchiveRecord& r = a.record;
    const QDate day = r.measuredAt ? r.measuredAt->date() : QDate();
    return {
        TableCell::OfText(a.model),
        TableCell::OfText(a.serial),
        TableCell::OfText(a.user),
        TableCell::OfWhole(r.recordNumber),
        TableCell::OfText(ArchiveIsoTime(r.measuredAt)),
        TableCell::OfWhole(r.programNumber),
        TableCell::OfText(r.citation),
        TableCell::OfText(r.sampleId),
        TableCell::OfText(r.referenceMark),
        TableCell::OfText(r.dilution),
        TableCell::OfReal(r.value1),
        TableCell::OfText(r.value1Text),
        TableCell::OfText(r.unit1),
        TableCell::OfText(r.state1),
        TableCell::OfReal(r.value2),
        TableCell::OfText(r.value2Text),
        TableCell::OfText(r.unit2),
        TableCell::OfText(r.state2),
        TableCell::OfText(r.flags),
        TableCell::OfText(ArchiveIsoTime(r.calibratedAt)),
        TableCell::OfText(r.rawLine),
        TableCell::OfWhole(a.recordId),
        TableCell::OfText(ArchiveIsoTime(a.archivedAt) + QLatin1String(a.archivedAt ? "Z" : "")),
        TableCell::OfFlag(limits.Judge(r.programNumber, day, r.value1, r.state1)),
        TableCell::OfFlag(a.valid)};
}

} // namespace

std::optional<ArchiveFormat> ArchiveFormatNamed(const QString& name) {
    if (name == QLatin1String("csv")) {
        return ArchiveFormat::Csv;
    }
    if (name == QLatin1String("tsv")) {
        return ArchiveFormat::Tsv;
    }
    if (name == QLatin1String("json")) {
        return ArchiveFormat::Json;
    }
    return std::nullopt;
}

ArchiveOutput::ArchiveOutput(QIODevice& device, ArchiveFormat format, LimitFlags limits)
    : m_table(std::make_unique<TableOutput>(device, format, kNames)), m_limits(std::move(limits)) {}

ArchiveOutput::~ArchiveOutput() = default;

bool ArchiveOutput::Write(const ArchivedRecord& record) {
    return m_table->Write(Cells(record, m_limits));
}

bool ArchiveOutput::Finish() {
    return m_table->Finish();
}

QByteArray ArchiveOutput::Of(const QList<ArchivedRecord>& records, ArchiveFormat format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ArchiveOutput output(buffer, format);
    for (const ArchivedRecord& record : records) {
        output.Write(record);
    }
    output.Finish();
    buffer.close();
    return bytes;
}

#include "archive/ArchiveRecord.h"

#include "data/FieldNumber.h"
#include "data/RecordDateTime.h"
#include "data/RecordWalker.h"
#include "meter/ColumnKind.h"

#include <algorithm>
#include <array>

namespace {

// Where each field stands in the two layouts; -1: the layout has no such field.
struct FieldPositions {
    int number, date, time, id, program, citation, reference, dilution, value1, unit1, state1,
        value2, unit2, state2, flags, calDate, calTime;
};
constexpr FieldPositions kPhotometer{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, -1, 14, 15};
constexpr FieldPositions kTurbidimeter{0, 1, 2, 3, -1, -1, -1, -1, 4, 5, 6, -1, -1, -1, 7, 8, 9};
constexpr int kPhotometerColumns = 16;
constexpr int kMaxColumns = 16;

std::optional<QDateTime> DateTimeOf(QStringView date, QStringView time) {
    const std::optional<QDate> d = RecordDate(date);
    if (!d) {
        return std::nullopt;
    }
    const std::optional<QTime> t = RecordTime(time);
    return QDateTime(*d, t.value_or(QTime(0, 0)));
}

} // namespace

ArchiveRecord ArchiveRecord::FromLine(QStringView line, const QList<int>& kinds) {
    const int count = int(kinds.size());
    const FieldPositions& at = count >= kPhotometerColumns ? kPhotometer : kTurbidimeter;
    std::array<QStringView, kMaxColumns> fields{};
    SplitRecordLine(line, std::span<QStringView>(fields.data(), std::min(count, kMaxColumns)));
    const auto text = [&](int i) { return i < 0 ? QString() : fields[i].trimmed().toString(); };
    const auto number = [&](int i) -> std::optional<double> {
        if (i < 0 || i >= count || kinds[i] == kTextColumn) {
            return std::nullopt;
        }
        return FieldNumber(fields[i], kinds[i] == kWholeColumn);
    };
    const auto whole = [&](int i) -> std::optional<qint64> {
        const std::optional<double> n = i < 0 ? std::nullopt : FieldNumber(fields[i], true);
        return n ? std::optional<qint64>(qint64(*n)) : std::nullopt;
    };

    ArchiveRecord r;
    r.rawLine = line.toString();
    r.recordNumber = whole(at.number);
    r.measuredAt = DateTimeOf(fields[at.date], fields[at.time]);
    r.programNumber = whole(at.program);
    r.citation = text(at.citation);
    r.sampleId = text(at.id);
    r.referenceMark = text(at.reference);
    r.dilution = text(at.dilution);
    r.value1 = number(at.value1);
    r.value1Text = text(at.value1);
    r.unit1 = text(at.unit1);
    r.state1 = text(at.state1);
    r.value2 = number(at.value2);
    r.value2Text = text(at.value2);
    r.unit2 = text(at.unit2);
    r.state2 = text(at.state2);
    r.flags = text(at.flags);
    r.calibratedAt = DateTimeOf(fields[at.calDate], fields[at.calTime]);
    return r;
}

QString ArchiveIsoTime(const QString& stored) {
    QString iso = stored;
    if (iso.size() > 10 && iso.at(10) == QLatin1Char(' ')) {
        iso[10] = QLatin1Char('T');
    }
    return iso;
}

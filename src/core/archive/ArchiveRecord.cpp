#include "archive/ArchiveRecord.h"

#include "data/FieldNumber.h"
#include "data/RecordDateTime.h"
#include "data/RecordWalker.h"
#include "meter/RecordLayout.h"

#include <QCryptographicHash>
#include <QStringList>
#include <algorithm>
#include <array>

namespace {

std::optional<QDateTime> DateTimeOf(QStringView date, QStringView time) {
    const std::optional<QDate> d = RecordDate(date);
    if (!d) {
        return std::nullopt;
    }
    const std::optional<QTime> t = RecordTime(time);
    // The meter's wall clock as it reads, in no zone: a local time would ask the C library
    // for the zone's rules again for every record, and its reading is all the archive keeps.
    return QDateTime(*d, t.value_or(QTime(0, 0)), Qt::UTC);
}

} // namespace

ArchiveRecord ArchiveRecord::FromLine(QStringView line, const RecordLayout& layout) {
    std::array<QStringView, RecordLayout::kMaxColumns> fields{};
    SplitRecordLine(line, std::span<QStringView>(fields.data(), size_t(layout.Count())));
    const auto field = [&](RecordPart part) {
        const int at = layout.At(part);
        return at < 0 ? QStringView() : fields[size_t(at)];
    };
    const auto text = [&](RecordPart part) { return field(part).trimmed().toString(); };
    const auto number = [&](RecordPart part) -> std::optional<double> {
        const int at = layout.At(part);
        if (!layout.IsNumeric(at)) {
            return std::nullopt;
        }
        return FieldNumber(fields[size_t(at)], layout.Kind(at) == kWholeColumn);
    };
    const auto whole = [&](RecordPart part) -> std::optional<qint64> {
        const std::optional<double> n =
            layout.At(part) < 0 ? std::nullopt : FieldNumber(field(part), true);
        return n ? std::optional<qint64>(qint64(*n)) : std::nullopt;
    };

    using P = RecordPart;
    ArchiveRecord r;
    r.rawLine = line.toString();
    r.recordNumber = whole(P::Number);
    r.measuredAt = DateTimeOf(field(P::Date), field(P::Time));
    r.programNumber = whole(P::Program);
    r.citation = text(P::Citation);
    r.sampleId = text(P::Id);
    r.referenceMark = text(P::Reference);
    r.dilution = text(P::Dilution);
    r.value1 = number(P::Value1);
    r.value1Text = text(P::Value1);
    r.unit1 = text(P::Unit1);
    r.state1 = text(P::State1);
    r.value2 = number(P::Value2);
    r.value2Text = text(P::Value2);
    r.unit2 = text(P::Unit2);
    r.state2 = text(P::State2);
    r.flags = text(P::Flags);
    r.calibratedAt = DateTimeOf(field(P::CalDate), field(P::CalTime));
    return r;
}

QString ArchiveRecord::KeyOf(QStringView line) {
    return QString::fromLatin1(
        QCryptographicHash::hash(line.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString ArchiveRecord::Folded(const QString& text) {
    return text.toCaseFolded();
}

QString ArchiveRecord::LikeEscaped(QString text) {
    text.replace(QLatin1Char('!'), QStringLiteral("!!"));
    text.replace(QLatin1Char('%'), QStringLiteral("!%"));
    text.replace(QLatin1Char('_'), QStringLiteral("!_"));
    return text;
}

QString ArchiveRecord::KindsText(const QList<int>& kinds) {
    QStringList texts;
    for (const int kind : kinds) {
        texts << QString::number(kind);
    }
    return texts.join(QLatin1Char(','));
}

QList<int> ArchiveRecord::KindsOf(const QString& text) {
    QList<int> kinds;
    for (const QString& kind : text.split(QLatin1Char(','))) {
        kinds.append(kind.toInt());
    }
    return kinds;
}

const RecordLayout& ArchiveRecord::LayoutOf(const QString& text,
                                            QHash<QString, RecordLayout>& layouts) {
    auto layout = layouts.find(text);
    if (layout == layouts.end()) {
        layout = layouts.insert(text, RecordLayout::ForKinds(KindsOf(text)));
    }
    return *layout;
}

QDateTime ArchiveRecord::InstantOf(const QDateTime& wallClock, const QTimeZone& zone) {
    const QDateTime asUtc(wallClock.date(), wallClock.time(), Qt::UTC);
    const QDateTime there(wallClock.date(), wallClock.time(), zone);
    const int offset =
        there.isValid() ? there.offsetFromUtc() : zone.offsetFromUtc(asUtc.addDays(-1));
    return asUtc.addSecs(-offset);
}

// Written digit by digit: an export writes three times per record, and Qt's formatting
// reads its pattern anew each time.
QString ArchiveIsoTime(const std::optional<QDateTime>& time) {
    if (!time) {
        return QString();
    }
    const QDate d = time->date();
    const QTime t = time->time();
    if (d.year() < 1000 || d.year() > 9999) {
        return time->toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    QString text(19, Qt::Uninitialized);
    QChar* out = text.data();
    const auto put = [&out](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i) {
            out[i] = QLatin1Char(char('0' + value % 10));
            value /= 10;
        }
        out += digits;
    };
    const auto sep = [&out](char c) { *out++ = QLatin1Char(c); };
    put(d.year(), 4);
    sep('-');
    put(d.month(), 2);
    sep('-');
    put(d.day(), 2);
    sep('T');
    put(t.hour(), 2);
    sep(':');
    put(t.minute(), 2);
    sep(':');
    put(t.second(), 2);
    return text;
}

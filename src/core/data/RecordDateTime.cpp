#include "data/RecordDateTime.h"

#include <QDateTime>
#include <array>
#include <atomic>

namespace {

// The numbers of "a<sep>b<sep>c": minParts to 3 parts, each 1 or 2 digits long except
// the last, which may have up to maxLast digits.
struct DigitParts {
    std::array<int, 3> values{};
    qsizetype count = 0;
    qsizetype lastDigits = 0;
};

std::optional<DigitParts> SplitDigits(QStringView field, char16_t separator, qsizetype minParts,
                                      qsizetype maxLast) {
    DigitParts parts;
    qsizetype digits = 0;
    int value = 0;
    for (qsizetype i = 0; i <= field.size(); ++i) {
        const char16_t ch = i < field.size() ? field[i].unicode() : separator;
        if (ch >= u'0' && ch <= u'9') {
            value = value * 10 + (ch - u'0');
            if (++digits > 4) {
                return std::nullopt;
            }
            continue;
        }
        const bool last = i == field.size();
        if (ch != separator || digits == 0 || parts.count == 3 || (!last && digits > 2)) {
            return std::nullopt;
        }
        parts.values[size_t(parts.count++)] = value;
        parts.lastDigits = digits;
        digits = 0;
        value = 0;
    }
    if (parts.count < minParts || parts.lastDigits > maxLast) {
        return std::nullopt;
    }
    return parts;
}

// This year, asked of the clock at most once a minute: the date is read for every field of
// an export.
int ThisYear() {
    static std::atomic<int> year{0};
    static std::atomic<qint64> until{0};
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now >= until.load(std::memory_order_relaxed)) {
        year.store(QDate::currentDate().year(), std::memory_order_relaxed);
        until.store(now + 60000, std::memory_order_relaxed);
    }
    return year.load(std::memory_order_relaxed);
}

} // namespace

int WindowedYear(int twoDigits, int thisYear) {
    const int latest = thisYear + 20;
    const int year = latest - ((latest - twoDigits) % 100 + 100) % 100;
    return year;
}

std::optional<QDate> RecordDate(QStringView field) {
    const auto parts = SplitDigits(field, u'.', 3, 4);
    if (!parts || (parts->lastDigits != 2 && parts->lastDigits != 4)) {
        return std::nullopt;
    }
    int year = parts->values[2];
    if (parts->lastDigits == 2) {
        year = WindowedYear(year, ThisYear());
    }
    const QDate date(year, parts->values[1], parts->values[0]);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<QTime> RecordTime(QStringView field) {
    const auto parts = SplitDigits(field, u':', 2, 2);
    // Minutes and seconds always have two digits ("8:05", never "8:5").
    if (!parts || parts->values[0] > 23 ||
        field.size() - field.indexOf(u':') - 1 != (parts->count - 1) * 3 - 1) {
        return std::nullopt;
    }
    const QTime time(parts->values[0], parts->values[1], parts->count == 3 ? parts->values[2] : 0);
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

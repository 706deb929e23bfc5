#include "data/RecordDateTime.h"

#include <QList>
#include <QStringView>

namespace {

// The parts of "a<sep>b<sep>c" when every part is 1 to maxLast digits long (the first
// parts at most 2); nothing otherwise.
std::optional<QList<int>> DigitParts(const QString& field, QChar separator, qsizetype minParts,
                                     qsizetype maxParts, qsizetype maxLast) {
    const QList<QStringView> parts = QStringView(field).split(separator);
    if (parts.size() < minParts || parts.size() > maxParts) {
        return std::nullopt;
    }
    QList<int> values;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const qsizetype limit = i + 1 == parts.size() ? maxLast : 2;
        if (parts[i].isEmpty() || parts[i].size() > limit) {
            return std::nullopt;
        }
        int value = 0;
        for (const QChar ch : parts[i]) {
            if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) {
                return std::nullopt;
            }
            value = value * 10 + (ch.unicode() - '0');
        }
        values.append(value);
    }
    return values;
}

} // namespace

std::optional<QDate> RecordDate(const QString& field) {
    const auto parts = DigitParts(field, QLatin1Char('.'), 3, 3, 4);
    const qsizetype yearDigits = field.size() - field.lastIndexOf(QLatin1Char('.')) - 1;
    if (!parts || (yearDigits != 2 && yearDigits != 4)) {
        return std::nullopt;
    }
    int year = (*parts)[2];
    // Two-digit years follow the classic window: 0 to 29 are 2000 to 2029.
    if (yearDigits == 2) {
        year += year < 30 ? 2000 : 1900;
    }
    const QDate date(year, (*parts)[1], (*parts)[0]);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<QTime> RecordTime(const QString& field) {
    const auto parts = DigitParts(field, QLatin1Char(':'), 2, 3, 2);
    // Minutes and seconds always have two digits ("8:05", never "8:5").
    const bool twoDigitTail = field.size() - field.indexOf(QLatin1Char(':')) - 1 ==
                              (parts ? parts->size() - 1 : 0) * 3 - 1;
    if (!parts || (*parts)[0] > 23 || !twoDigitTail) {
        return std::nullopt;
    }
    const QTime time((*parts)[0], (*parts)[1], parts->size() == 3 ? (*parts)[2] : 0);
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

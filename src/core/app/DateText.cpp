#include "app/DateText.h"

#include "app/Errors.h"
#include "app/Language.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"

#include <QLocale>

QString DateFormat() {
    return LoadResString(1643);
}

QLocale DateLocale() {
    return QLocale(Language::Active());
}

QString ShortDateText(const QDate& date) {
    return DateLocale().toString(date, DateFormat());
}

QString LongTimeText(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString GeneralDateText(const QDateTime& dateTime) {
    const QString date = ShortDateText(dateTime.date());
    if (dateTime.time() == QTime(0, 0)) {
        return date;
    }
    return date + QLatin1Char(' ') + LongTimeText(dateTime.time());
}

QString OneDecimalText(double value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 1);
}

QDate DateSerial(int year, int month, int day) {
    if (year >= 0 && year < 30) {
        year += 2000;
    } else if (year >= 30 && year < 100) {
        year += 1900;
    }
    // Month and day overflow is carried in whole months and days, from the first of the
    // month of the (possibly shifted) year.
    const int monthIndex = month - 1;
    const int yearCarry = monthIndex >= 0 ? monthIndex / 12 : -((11 - monthIndex) / 12);
    const QDate first(year + yearCarry, monthIndex - yearCarry * 12 + 1, 1);
    const QDate date = first.isValid() ? first.addDays(day - 1) : QDate();
    if (!date.isValid() || date.year() < 100 || date.year() > 9999) {
        throw MervexError(RunTimeText(RtError::InvalidDate).arg(year).arg(month).arg(day));
    }
    return date;
}

QTime TimeSerial(int hour, int minute, int second) {
    constexpr long long kDay = 24 * 3600;
    const long long total = (static_cast<long long>(hour) * 3600 + minute * 60LL + second) % kDay;
    return QTime(0, 0).addSecs(static_cast<int>((total + kDay) % kDay));
}

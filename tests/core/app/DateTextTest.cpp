#include "app/DateText.h"

#include "app/Errors.h"
#include "app/Language.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// Runs the test body under a known default locale and restores the previous one.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : m_saved(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~LocaleScope() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

// Runs under a program language and goes back to the one before.
class LanguageScope {
public:
    explicit LanguageScope(const QString& language) : m_saved(Language::Active()) {
        Language::Use(language);
    }
    ~LanguageScope() { Language::Use(m_saved); }

private:
    QString m_saved;
};

} // namespace

// One form per language whatever the desktop's locale says (a Swiss or a US desktop wrote
// two-digit years), the year with its four digits, the time on the 24-hour clock.
TEST(DateText, OneFormPerLanguageWithFourDigitYears) {
    const QDateTime afternoon(QDate(2024, 3, 5), QTime(14, 0, 1));
    const QList<QLocale> desktops = {QLocale(QLocale::French, QLocale::France),
                                     QLocale(QLocale::French, QLocale::Switzerland),
                                     QLocale(QLocale::English, QLocale::UnitedStates),
                                     QLocale(QLocale::German, QLocale::Germany), QLocale::c()};
    for (const QLocale& desktop : desktops) {
        LocaleScope scope(desktop);
        const QString name = desktop.name();
        LanguageScope french(Language::kFrench);
        EXPECT_EQ(ShortDateText(afternoon.date()), QStringLiteral("05/03/2024"))
            << name.toStdString();
        EXPECT_EQ(GeneralDateText(afternoon), QStringLiteral("05/03/2024 14:00:01"));
        EXPECT_EQ(GeneralDateText(QDateTime(afternoon.date(), QTime(0, 0))),
                  QStringLiteral("05/03/2024"));
        EXPECT_EQ(afternoon.date().toString(DateFormat()), ShortDateText(afternoon.date()));
        LanguageScope english(Language::kEnglish);
        EXPECT_EQ(ShortDateText(afternoon.date()), QStringLiteral("5 Mar 2024"))
            << name.toStdString();
        EXPECT_EQ(GeneralDateText(afternoon), QStringLiteral("5 Mar 2024 14:00:01"));
        EXPECT_EQ(LongTimeText(QTime(9, 5, 7)), QStringLiteral("09:05:07"));
    }
}

TEST(DateText, OneDecimalFollowsTheLocale) {
    {
        LocaleScope french(QLocale(QLocale::French, QLocale::France));
        EXPECT_EQ(OneDecimalText(98.0394), QStringLiteral("98,0"));
        EXPECT_EQ(OneDecimalText(1234.56), QStringLiteral("1234,6")) << "no digit grouping";
    }
    {
        LocaleScope us(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(OneDecimalText(-40), QStringLiteral("-40.0"));
        EXPECT_EQ(OneDecimalText(12345.67), QStringLiteral("12345.7"));
    }
}

TEST(DateText, DateAndTimePartsRunOver) {
    EXPECT_EQ(DateSerial(2024, 3, 15), QDate(2024, 3, 15));
    EXPECT_EQ(DateSerial(24, 3, 15), QDate(2024, 3, 15));
    EXPECT_EQ(DateSerial(29, 1, 1), QDate(2029, 1, 1));
    EXPECT_EQ(DateSerial(30, 1, 1), QDate(1930, 1, 1));
    EXPECT_EQ(DateSerial(2023, 13, 1), QDate(2024, 1, 1));
    EXPECT_EQ(DateSerial(2024, 0, 1), QDate(2023, 12, 1));
    EXPECT_EQ(DateSerial(2024, -13, 1), QDate(2022, 11, 1));
    EXPECT_EQ(DateSerial(2024, 3, 0), QDate(2024, 2, 29));
    EXPECT_EQ(DateSerial(2024, 2, 30), QDate(2024, 3, 1));
    EXPECT_THROW(DateSerial(10000, 1, 1), MervexError);
    EXPECT_THROW(DateSerial(-5, 1, 1), MervexError);

    EXPECT_EQ(TimeSerial(9, 5, 7), QTime(9, 5, 7));
    EXPECT_EQ(TimeSerial(25, 0, 0), QTime(1, 0, 0));
    EXPECT_EQ(TimeSerial(0, 90, 61), QTime(1, 31, 1));
    EXPECT_EQ(TimeSerial(0, 0, -1), QTime(23, 59, 59));
}

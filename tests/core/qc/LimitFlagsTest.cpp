// Which results are beyond the limit values of their program, record line by record line, and
// the filter that selects them.

#include "qc/LimitFlags.h"

#include "data/RecordFilter.h"
#include "meter/RecordLayout.h"

#include <gtest/gtest.h>

namespace {

LimitValue Limit(qint64 program, std::optional<double> lower, std::optional<double> upper,
                 const QDate& from, int madeHour = 8) {
    LimitValue l;
    l.program = program;
    l.lower = lower;
    l.upper = upper;
    l.validFrom = from;
    l.createdAt = QDateTime(from, QTime(madeHour, 0), Qt::UTC);
    return l;
}

// Nitrate (310) at most 50 until March, at most 40 from then on; phosphate (320) between 0.1
// and 2; a version made later on the same day as another takes over from it.
const QList<LimitValue> kLimits = {
    Limit(310, std::nullopt, 40.0, QDate(2024, 3, 1)),
    Limit(310, std::nullopt, 50.0, QDate(2024, 1, 1)),
    Limit(320, 0.1, 2.0, QDate(2024, 1, 1), 9),
    Limit(320, 0.2, 3.0, QDate(2024, 1, 1), 8),
};

QString Record(const QString& date, const QString& program, const QString& value,
               const QString& state = QStringLiteral("OK")) {
    return QStringLiteral("1;%1;09:00:00;S;%2;F;;1:1;%3;mg/l;%4;;;;01.12.23;09:00")
        .arg(date, program, value, state);
}

} // namespace

TEST(LimitFlags, ValuesStrictlyBeyondTheLimitsInForceOnTheirDate) {
    const LimitFlags flags(kLimits);
    const RecordLayout photometer = RecordLayout::Of(MeterFamily::Photometer);
    const auto beyond = [&](const QString& date, const QString& program, const QString& value,
                            const QString& state = QStringLiteral("OK")) {
        return flags.Beyond(Record(date, program, value, state), photometer);
    };
    EXPECT_FALSE(beyond("15.02.24", "310", "45")); // the first version: at most 50
    EXPECT_TRUE(beyond("01.03.24", "310", "45"));  // the second from its first day
    EXPECT_FALSE(beyond("01.03.24", "310", "40")); // on the limit is within it
    EXPECT_TRUE(beyond("01.03.24", "310", "40.01"));
    EXPECT_FALSE(beyond("31.12.23", "310", "999")); // before the first version: none
    EXPECT_TRUE(beyond("05.01.24", " 320 ", "0.05"));
    EXPECT_TRUE(beyond("05.01.24", "320", "2.5")); // the version made later that day: 2
    EXPECT_FALSE(beyond("05.01.24", "320", "0.1"));
    EXPECT_FALSE(beyond("05.01.24", "301", "999")); // a program without limits
    // Over the measuring range is beyond an upper limit, whatever the meter wrote as value.
    EXPECT_TRUE(beyond("05.01.24", "310", "----", "> MR"));
    EXPECT_TRUE(beyond("05.01.24", "320", "1.00", ">MR"));
    EXPECT_FALSE(beyond("05.01.24", "310", "----", "< MR"));
    EXPECT_FALSE(beyond("05.01.24", "310", "<0.05", "OK"));
    // Without a date the limits in force today judge: nitrate's latest, 40.
    EXPECT_TRUE(beyond("", "310", "45"));
    EXPECT_FALSE(LimitFlags().Beyond(Record("05.01.24", "310", "999"), photometer));

    // A turbidimeter's records have no program: nothing is beyond.
    const RecordLayout turbidimeter = RecordLayout::Of(MeterFamily::Ardel20);
    EXPECT_EQ(turbidimeter.Program(), RecordLayout::kAbsent);
    EXPECT_FALSE(
        LimitFlags({Limit(0, std::nullopt, 1.0, QDate(2024, 1, 1))})
            .Beyond(QStringLiteral("1;02.12.24;08:00;5;1100;FNU;OK;Cal: OK;;"), turbidimeter));
}

TEST(LimitFlags, JudgeSaysWhenNoLimitsApply) {
    const LimitFlags flags(kLimits);
    EXPECT_TRUE(flags.HasLimits(310));
    EXPECT_FALSE(flags.HasLimits(301));
    EXPECT_EQ(flags.Judge(std::nullopt, QDate(2024, 5, 1), 99.0, u"OK"), std::nullopt);
    EXPECT_EQ(flags.Judge(310, QDate(2023, 5, 1), 99.0, u"OK"), std::nullopt);
    EXPECT_EQ(flags.Judge(310, QDate(2024, 5, 1), 39.0, u"OK"), false);
    EXPECT_EQ(flags.Judge(310, QDate(2024, 5, 1), std::nullopt, u"> MR"), true);
}

TEST(LimitFlags, TheFilterKeepsTheRecordsBeyondTheLimits) {
    const LimitFlags flags(kLimits);
    const RecordLayout photometer = RecordLayout::Of(MeterFamily::Photometer);
    const QStringList records = {Record("05.01.24", "310", "45"), Record("05.03.24", "310", "45"),
                                 Record("05.03.24", "320", "----", "> MR"),
                                 Record("05.03.24", "301", "999")};
    const QList<QStringView> lines(records.begin(), records.end());
    RecordFilter filter;
    filter.state = RecordFilter::State::BeyondLimit;
    EXPECT_EQ(FilteredRows(lines, filter, photometer, &flags), (std::vector<int>{1, 2}));
    EXPECT_TRUE(FilteredRows(lines, filter, photometer).empty()); // no limits: none is beyond
    filter.group = QStringLiteral("320");
    EXPECT_EQ(FilteredRows(lines, filter, photometer, &flags), (std::vector<int>{2}));
}

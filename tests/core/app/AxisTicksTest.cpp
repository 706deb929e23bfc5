#include "app/AxisTicks.h"

#include <gtest/gtest.h>

namespace {

double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return RecordClockSeconds(QDate(year, month, day), QTime(hour, minute, second));
}

} // namespace

TEST(AxisTicks, RecordClockIsPlainDaysAndSeconds) {
    EXPECT_EQ(At(2000, 1, 1), 0.0);
    EXPECT_EQ(At(2000, 1, 2, 0, 0, 1), 86401.0);
    EXPECT_LT(At(1999, 12, 31, 23, 59, 59), 0.0);
    // A night in which summer time ends is 24 hours long on a meter's clock.
    EXPECT_EQ(At(2024, 10, 28) - At(2024, 10, 27), 86400.0);
    EXPECT_EQ(FromRecordClockSeconds(At(2024, 3, 12, 14, 5, 9)),
              QDateTime(QDate(2024, 3, 12), QTime(14, 5, 9)));
    EXPECT_EQ(FromRecordClockSeconds(At(1998, 6, 30, 23, 0)),
              QDateTime(QDate(1998, 6, 30), QTime(23, 0)));
}

TEST(AxisTicks, TimeStepsFollowTheClock) {
    // An afternoon: hours; the first tick is at or before the first record, the last at or
    // after the last, and the steps are whole hours from midnight.
    const TimeTicks afternoon = ChooseTimeTicks(At(2024, 3, 12, 13, 10), At(2024, 3, 12, 17, 50));
    EXPECT_EQ(afternoon.step, 3600.0);
    EXPECT_EQ(afternoon.ticks.front(), At(2024, 3, 12, 13));
    EXPECT_EQ(afternoon.ticks.back(), At(2024, 3, 12, 18));
    EXPECT_EQ(TimeTickLabels(afternoon.ticks, afternoon.step),
              (QStringList{"13:00\n12/03/2024", "14:00", "15:00", "16:00", "17:00", "18:00"}));

    // Ten minutes: two-minute steps; under a minute: seconds in the labels.
    EXPECT_EQ(ChooseTimeTicks(At(2024, 3, 12, 9, 0), At(2024, 3, 12, 9, 10)).step, 120.0);
    const TimeTicks seconds = ChooseTimeTicks(At(2024, 3, 12, 9, 0, 3), At(2024, 3, 12, 9, 0, 40));
    EXPECT_EQ(seconds.step, 10.0);
    EXPECT_EQ(TimeTickLabels(seconds.ticks, seconds.step).front(),
              QStringLiteral("09:00:00\n12/03/2024"));

    // Over midnight the date comes again under the first tick of the new day.
    const TimeTicks night = ChooseTimeTicks(At(2024, 3, 12, 20), At(2024, 3, 13, 4));
    EXPECT_EQ(night.step, 2 * 3600.0);
    EXPECT_EQ(TimeTickLabels(night.ticks, night.step),
              (QStringList{"20:00\n12/03/2024", "22:00", "00:00\n13/03/2024", "02:00", "04:00"}));

    // Weeks and months: whole days at midnight, labelled by the date alone.
    const TimeTicks month = ChooseTimeTicks(At(2024, 2, 3, 8), At(2024, 3, 1, 17));
    EXPECT_EQ(month.step, 5 * 86400.0);
    EXPECT_LE(month.ticks.front(), At(2024, 2, 3, 8));
    EXPECT_GE(month.ticks.back(), At(2024, 3, 1, 17));
    for (const QString& label : TimeTickLabels(month.ticks, month.step)) {
        EXPECT_EQ(label.size(), 10) << label.toStdString();
    }
    for (const double tick : month.ticks) {
        EXPECT_EQ(FromRecordClockSeconds(tick).time(), QTime(0, 0));
    }
    const TimeTicks years = ChooseTimeTicks(At(2019, 1, 1), At(2024, 6, 1));
    EXPECT_GE(years.ticks.size(), 3);
    EXPECT_LE(years.ticks.size(), 8);

    EXPECT_TRUE(ChooseTimeTicks(5.0, 5.0).ticks.isEmpty());
}

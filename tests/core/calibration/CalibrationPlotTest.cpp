#include "calibration/CalibrationPlot.h"

#include "calibration/CMath.h"
#include "calibration/CalibrationText.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

TEST(CalibrationText, EditorDisplayFormats) {
    EXPECT_EQ(FormatScientific(0.1985), QStringLiteral("1.985E-01"));
    EXPECT_EQ(FormatScientific(0.0), QStringLiteral("0.000E+00"));
    EXPECT_EQ(FormatScientific(-1234.5678), QStringLiteral("-1.235E+03"));
    EXPECT_EQ(FormatScientific(0.0123456), QStringLiteral("1.235E-02"));
    EXPECT_EQ(FormatScientific(2.5e150), QStringLiteral("2.500E+150"));
    EXPECT_EQ(FormatOneDecimal(2.33366), QStringLiteral("2.3"));
    EXPECT_EQ(FormatOneDecimal(0.04), QStringLiteral("0.0"));
    EXPECT_EQ(FormatOneDecimal(1234.56), QStringLiteral("1234.6"));
}

TEST(CalibrationPlot, AxesFollowThePairs) {
    ScriptedUi ui;
    CMath math(ui);
    CalibrationPlot plot;
    ASSERT_TRUE(MakeCalibrationPlot(math, {0, 1, 2, 4}, {0.05, 0.2, 0.4, 0.8}, 4, 0.01, 0.2, plot));
    EXPECT_EQ(plot.xMax, 4.0);
    EXPECT_EQ(plot.yMin, 0.0);
    EXPECT_EQ(plot.yMax, 0.8);
    EXPECT_FALSE(plot.AxisAtZero());
    ASSERT_EQ(plot.marks.size(), 4);
    EXPECT_EQ(plot.marks[3], QPointF(4.0, 0.8));
    EXPECT_EQ(plot.line.p1(), QPointF(0.0, 0.01));
    EXPECT_DOUBLE_EQ(plot.line.p2().y(), 0.01 + 0.2 * 4.0);

    // A negative extinction lowers the vertical axis and puts the horizontal one at 0.
    ASSERT_TRUE(MakeCalibrationPlot(math, {1, 2, 3}, {-0.1, 0.1, 0.3}, 3, -0.3, 0.2, plot));
    EXPECT_EQ(plot.yMin, -0.1);
    EXPECT_TRUE(plot.AxisAtZero());
}

TEST(CalibrationPlot, NoPositiveConcentrationCannotBeDrawn) {
    ScriptedUi ui;
    CMath math(ui);
    CalibrationPlot plot;
    EXPECT_FALSE(MakeCalibrationPlot(math, {0, -1, -2}, {0.1, 0.2, 0.3}, 3, 0.1, -0.1, plot));
    EXPECT_FALSE(MakeCalibrationPlot(math, {0, 1}, {0.1, 0.2, 0.3}, 3, 0.1, 0.1, plot));
}

#include "calibration/CalibrationPlot.h"

#include "calibration/CMath.h"
#include "calibration/CalibrationText.h"
#include "support/ScriptedUi.h"

#include <cmath>
#include <gtest/gtest.h>
#include <utility>

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
    EXPECT_DOUBLE_EQ(plot.yMax, 0.8);
    EXPECT_EQ(plot.xTicks, (QList<double>{0, 1, 2, 3, 4}));
    ASSERT_EQ(plot.yTicks.size(), 5);
    EXPECT_DOUBLE_EQ(plot.yTicks[1], 0.2);
    EXPECT_FALSE(plot.AxisAtZero());
    ASSERT_EQ(plot.marks.size(), 4);
    EXPECT_EQ(plot.marks[3], QPointF(4.0, 0.8));
    EXPECT_EQ(plot.line.p1(), QPointF(0.0, 0.01));
    EXPECT_DOUBLE_EQ(plot.line.p2().y(), 0.01 + 0.2 * 4.0);

    // A negative extinction lowers the vertical axis and puts the horizontal one at 0; the
    // line starts at the smallest concentration of the pairs, and the axes end on a round
    // tick beyond the largest values.
    ASSERT_TRUE(MakeCalibrationPlot(math, {1, 2, 3.3}, {-0.1, 0.1, 0.37}, 3, -0.3, 0.2, plot));
    EXPECT_DOUBLE_EQ(plot.yMin, -0.1);
    EXPECT_TRUE(plot.AxisAtZero());
    EXPECT_EQ(plot.line.p1(), QPointF(1.0, -0.1));
    EXPECT_DOUBLE_EQ(plot.line.p2().x(), 3.3);
    EXPECT_EQ(plot.xMax, 4.0);
    EXPECT_DOUBLE_EQ(plot.yMax, 0.4);
}

TEST(CalibrationPlot, NoPositiveConcentrationCannotBeDrawn) {
    ScriptedUi ui;
    CMath math(ui);
    CalibrationPlot plot;
    EXPECT_FALSE(MakeCalibrationPlot(math, {0, -1, -2}, {0.1, 0.2, 0.3}, 3, 0.1, -0.1, plot));
    EXPECT_FALSE(MakeCalibrationPlot(math, {0, 1}, {0.1, 0.2, 0.3}, 3, 0.1, 0.1, plot));
}

TEST(CalibrationPlot, TicksAreRoundAndCoverTheRange) {
    EXPECT_EQ(RoundTicks(0, 10), (QList<double>{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(RoundTicks(0, 7.3), (QList<double>{0, 2, 4, 6, 8}));
    EXPECT_EQ(RoundTicks(0, 1234), (QList<double>{0, 500, 1000, 1500}));
    const QList<double> small = RoundTicks(-0.013, 0.048);
    ASSERT_EQ(small.size(), 5);
    EXPECT_DOUBLE_EQ(small.front(), -0.02);
    EXPECT_EQ(small[1], 0.0);
    EXPECT_FALSE(std::signbit(small[1])); // no "-0" label
    EXPECT_DOUBLE_EQ(small.back(), 0.06);
    EXPECT_EQ(RoundTicks(2, 2), (QList<double>{2}));
    for (const auto& [low, high] : {std::pair{0.0, 0.8}, {0.0, 3.3}, {-5.0, 123.0}, {1e-6, 3e-6}}) {
        const QList<double> ticks = RoundTicks(low, high);
        EXPECT_LE(ticks.front(), low);
        EXPECT_GE(ticks.back(), high * (1 - 1e-12));
        EXPECT_LE(ticks.size(), 8);
        EXPECT_GE(ticks.size(), 3);
    }
}

// Worked example: x = 1..5, y = 2.1, 3.9, 6.2, 7.8, 10.1. Mean of y 6.02; least squares
// a1 = Sxy / Sxx = 19.9 / 10 = 1.99, a0 = 6.02 - 1.99 * 3 = 0.05. Residuals 0.06, -0.13,
// 0.18, -0.21, 0.1: their squares sum to 0.107; squares about the mean sum to 39.708;
// R² = 1 - 0.107 / 39.708 = 0.997305.
TEST(CalibrationPlot, EquationAndDeterminationOfAWorkedExample) {
    const QList<double> x = {1, 2, 3, 4, 5};
    const QList<double> y = {2.1, 3.9, 6.2, 7.8, 10.1};
    ScriptedUi ui;
    CMath math(ui);
    CalibrationPlot plot;
    ASSERT_TRUE(MakeCalibrationPlot(math, x, y, 5, 0.05, 1.99, plot));
    EXPECT_NEAR(plot.r2, 0.997305, 1e-6);
    EXPECT_EQ(LineEquation(0.05, 1.99), QStringLiteral("E = 1.99 C + 0.05"));
    EXPECT_EQ(LineEquation(-0.3, 0.2), QStringLiteral("E = 0.2 C - 0.3"));
    EXPECT_EQ(DeterminationText(plot.r2), QString::fromUtf8("R² = 0.9973"));
    // Only the first `count` pairs count; a flat line through flat pairs fits perfectly.
    EXPECT_NEAR(
        CoefficientOfDetermination(x + QList<double>{9}, y + QList<double>{0}, 5, 0.05, 1.99),
        0.997305, 1e-6);
    EXPECT_EQ(CoefficientOfDetermination({1, 2}, {3, 3}, 2, 3, 0), 1.0);
    EXPECT_EQ(CoefficientOfDetermination({1, 2}, {3, 3}, 2, 2, 0), 0.0);
}

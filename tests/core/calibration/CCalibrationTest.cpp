#include "calibration/CCalibration.h"

#include "calibration/CMath.h"
#include "support/ScriptedUi.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Line {
    double a0 = -1, a1 = -1, ym = -1, xm = -1, sx0 = -1, vx0 = -1, xn = -1, xb = -1;
};

class CCalibrationTest : public ::testing::Test {
protected:
    bool Calculate(Line& r, const QList<double>& x, const QList<double>& y) {
        return calibration.Calculate(r.a0, r.a1, r.ym, r.xm, r.sx0, r.vx0, r.xn, r.xb, x, y,
                                     static_cast<short>(x.size()));
    }

    ScriptedUi ui;
    CMath math{ui};
    CCalibration calibration{math, ui};
};

// Six significant digits.
void ExpectSignificant(double actual, double expected) {
    EXPECT_NEAR(actual, expected, std::abs(expected) * 5e-6) << "expected " << expected;
}

} // namespace

TEST_F(CCalibrationTest, WorkedExample) {
    Line r;
    ASSERT_TRUE(Calculate(r, {0, 1, 2, 3, 4}, {0.010, 0.205, 0.390, 0.610, 0.800}));
    ExpectSignificant(r.xm, 2.0);
    ExpectSignificant(r.ym, 0.403);
    ExpectSignificant(r.a1, 0.1985);
    ExpectSignificant(r.a0, 0.006);
    ExpectSignificant(r.sx0, 0.0466732);
    ExpectSignificant(r.vx0, 2.33366);
    ExpectSignificant(r.xn, 0.367453);
    ExpectSignificant(r.xb, 0.547425);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CCalibrationTest, PairsExactlyOnALineHaveNoSpread) {
    Line r;
    ASSERT_TRUE(Calculate(r, {1, 2, 3}, {2, 4, 6}));
    EXPECT_DOUBLE_EQ(r.a1, 2.0);
    EXPECT_NEAR(r.a0, 0.0, 1e-15);
    EXPECT_EQ(r.sx0, 0.0);
    EXPECT_EQ(r.vx0, 0.0);
    EXPECT_EQ(r.xn, 0.0);
    EXPECT_NEAR(r.xb, 0.0, 1e-15);
}

TEST_F(CCalibrationTest, ThreePairsUseOneDegreeOfFreedom) {
    // With one degree of freedom t is about 12.71, so the limits are far wider than with
    // the same spread over more pairs.
    Line three;
    Line five;
    ASSERT_TRUE(Calculate(three, {0, 2, 4}, {0.010, 0.390, 0.800}));
    ASSERT_TRUE(Calculate(five, {0, 1, 2, 3, 4}, {0.010, 0.205, 0.390, 0.610, 0.800}));
    EXPECT_GT(three.xn / three.sx0, 2.0 * five.xn / five.sx0);
    EXPECT_TRUE(std::isfinite(three.xb));
}

TEST_F(CCalibrationTest, RefusesWithoutAMessage) {
    Line r;
    // Two pairs: nothing is touched.
    EXPECT_FALSE(Calculate(r, {1, 2}, {0.1, 0.2}));
    EXPECT_EQ(r.xm, -1.0);
    EXPECT_EQ(r.ym, -1.0);
    // All concentrations equal (Qx = 0) and all extinctions equal (A1 = 0).
    EXPECT_FALSE(Calculate(r, {2, 2, 2}, {0.1, 0.2, 0.3}));
    EXPECT_FALSE(Calculate(r, {1, 2, 3}, {0.5, 0.5, 0.5}));
    // An array shorter than the count.
    EXPECT_FALSE(calibration.Calculate(r.a0, r.a1, r.ym, r.xm, r.sx0, r.vx0, r.xn, r.xb, {1, 2, 3},
                                       {0.1, 0.2}, 3));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CCalibrationTest, ZeroMeanConcentrationIsTrapped) {
    Line r;
    EXPECT_FALSE(Calculate(r, {-1, 0, 1}, {0.1, 0.25, 0.3}));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Erreur"));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Division par zéro"));
}

TEST_F(CCalibrationTest, FaultInALimitFailsTheWholeCalculation) {
    // A slope so small that A1 * Qx * A1 underflows to 0: the detection limit cannot be
    // computed, and the calculation must not claim success with a made-up limit.
    Line r;
    EXPECT_FALSE(Calculate(r, {1, 2, 3}, {1e-200, 2e-200, 3e-200}));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Division par zéro"));
}

TEST_F(CCalibrationTest, MeasuringRangeAgainstPhotometricRange) {
    CCalibration& cal = calibration;
    EXPECT_TRUE(cal.CheckMeasRange(0.0f, 16.0f, 0.0f, 0.125f));
    EXPECT_FALSE(cal.CheckMeasRange(0.0f, 16.5f, 0.0f, 0.125f));
    EXPECT_FALSE(cal.CheckMeasRange(-2.0f, 16.0f, 0.0f, 0.125f));
    // A falling line: bounds 1.6 and -16, used sorted.
    EXPECT_TRUE(cal.CheckMeasRange(0.0f, 1.5f, 0.0f, -0.125f));
    EXPECT_FALSE(cal.CheckMeasRange(0.0f, 1.7f, 0.0f, -0.125f));
    // The zero point shifts both bounds: (2.0 - 0.5) / 0.1 = 15, (-0.2 - 0.5) / 0.1 = -7.
    EXPECT_TRUE(cal.CheckMeasRange(-7.0f, 15.0f, 0.5f, 0.1f));
    EXPECT_FALSE(cal.CheckMeasRange(-7.5f, 15.0f, 0.5f, 0.1f));
    // Begin after end is not checked.
    EXPECT_TRUE(cal.CheckMeasRange(10.0f, 1.0f, 0.0f, 0.125f));
    EXPECT_FALSE(cal.CheckMeasRange(0.0f, 1.0f, 0.0f, 0.0f));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CCalibrationTest, MeasuringRangeOverflowIsTrapped) {
    EXPECT_FALSE(calibration.CheckMeasRange(0.0f, 1.0f, 0.0f, 1e-40f));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Dépassement de capacité"));
}

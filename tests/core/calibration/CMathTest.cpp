#include "calibration/CMath.h"

#include "support/ScriptedUi.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

class CMathTest : public ::testing::Test {
protected:
    ScriptedUi ui;
    CMath math{ui};
    const QList<double> values{3.0, -1.0, 7.5, 2.0};
};

} // namespace

TEST_F(CMathTest, ExtremesStartFromTheGivenValue) {
    double result = 0.0;
    ASSERT_TRUE(math.ArrayMax(result, values, 4, 0.0));
    EXPECT_EQ(result, 7.5);
    ASSERT_TRUE(math.ArrayMin(result, values, 4, 100.0));
    EXPECT_EQ(result, -1.0);
    // Only the first intCnt elements count.
    ASSERT_TRUE(math.ArrayMax(result, values, 2, 0.0));
    EXPECT_EQ(result, 3.0);
    // The start value wins when no element beats it.
    ASSERT_TRUE(math.ArrayMax(result, {-4.0, -2.0}, 2, 0.0));
    EXPECT_EQ(result, 0.0);
    ASSERT_TRUE(math.ArrayMin(result, {120.0, 250.0}, 2, 100.0));
    EXPECT_EQ(result, 100.0);
    ASSERT_TRUE(math.ArrayMin(result, values, 0, 100.0));
    EXPECT_EQ(result, 100.0);
}

TEST_F(CMathTest, SumsOverTheFirstElements) {
    double result = -1.0;
    ASSERT_TRUE(math.ArraySum(result, values, 3));
    EXPECT_DOUBLE_EQ(result, 9.5);
    ASSERT_TRUE(math.ArraySum(result, values, 0));
    EXPECT_EQ(result, 0.0);
    ASSERT_TRUE(math.ArraySquareSumOffs(result, values, 2.0, 4));
    EXPECT_DOUBLE_EQ(result, 1.0 + 9.0 + 30.25 + 0.0);
    ASSERT_TRUE(math.ArrayProductSumOffs(result, values, {1.0, 2.0, 3.0, 4.0}, 1.0, 2.0, 4));
    EXPECT_DOUBLE_EQ(result, 2.0 * -1.0 + -2.0 * 0.0 + 6.5 * 1.0 + 1.0 * 2.0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CMathTest, ShortArraysLeaveTheResultUntouched) {
    double result = 42.0;
    EXPECT_FALSE(math.ArrayMax(result, values, 5, 0.0));
    EXPECT_FALSE(math.ArrayMin(result, values, 5, 100.0));
    EXPECT_FALSE(math.ArraySum(result, values, 5));
    EXPECT_FALSE(math.ArraySquareSumOffs(result, values, 1.0, 5));
    // Either array being short is enough.
    EXPECT_FALSE(math.ArrayProductSumOffs(result, values, {1.0, 2.0}, 0.0, 0.0, 3));
    EXPECT_FALSE(math.ArrayProductSumOffs(result, {1.0, 2.0}, values, 0.0, 0.0, 3));
    EXPECT_FALSE(math.PolynomValue(result, 2.0, {1.0, 2.0}, 3));
    EXPECT_EQ(result, 42.0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CMathTest, PolynomialCoefficientsAscendByPower) {
    double result = 0.0;
    // 1 + 2x + 3x^2 at x = 2
    ASSERT_TRUE(math.PolynomValue(result, 2.0, {1.0, 2.0, 3.0}, 3));
    EXPECT_DOUBLE_EQ(result, 17.0);
    // The order limits the coefficients used: 1 + 2x.
    ASSERT_TRUE(math.PolynomValue(result, 2.0, {1.0, 2.0, 3.0}, 2));
    EXPECT_DOUBLE_EQ(result, 5.0);
    ASSERT_TRUE(math.PolynomValue(result, 2.0, {1.0, 2.0, 3.0}, 0));
    EXPECT_EQ(result, 0.0);
}

TEST_F(CMathTest, OverflowGoesThroughTheTrap) {
    const double big = std::numeric_limits<double>::max();
    double result = 42.0;
    EXPECT_FALSE(math.ArraySum(result, {big, big}, 2));
    EXPECT_FALSE(math.ArraySquareSumOffs(result, {big, -big}, 0.0, 2));
    EXPECT_EQ(result, 42.0);
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Erreur"));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Dépassement de capacité"));
}

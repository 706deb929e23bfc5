#include "app/NumberText.h"

#include <gtest/gtest.h>

TEST(NumberText, LeadingNumberReadsLikeTheClassicVal) {
    EXPECT_DOUBLE_EQ(LeadingNumber("1026"), 1026);
    EXPECT_DOUBLE_EQ(LeadingNumber("  12 34abc"), 1234);
    EXPECT_DOUBLE_EQ(LeadingNumber("1.80"), 1.8);
    EXPECT_DOUBLE_EQ(LeadingNumber("-0.25 E"), -0.25);
    EXPECT_DOUBLE_EQ(LeadingNumber("2.5E3x"), 2500);
    EXPECT_DOUBLE_EQ(LeadingNumber("1E"), 1);
    EXPECT_DOUBLE_EQ(LeadingNumber("&H1F"), 31);
    EXPECT_DOUBLE_EQ(LeadingNumber("&O17"), 15);
    EXPECT_DOUBLE_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("02"), 2);
    for (const char* none : {"", "abc", "-", ".", "+.", "e5", ",5"}) {
        EXPECT_DOUBLE_EQ(LeadingNumber(none), 0) << none;
    }
    EXPECT_DOUBLE_EQ(LeadingNumber("1e999"), 0); // overflow is no number
}

TEST(NumberText, WholeNumberNeedsTheWholeText) {
    EXPECT_EQ(WholeNumber("1001"), 1001);
    EXPECT_EQ(WholeNumber(" 1001 "), 1001);
    EXPECT_EQ(WholeNumber("2.5"), 2); // half to even
    EXPECT_EQ(WholeNumber("3.5"), 4);
    EXPECT_EQ(WholeNumber("-7"), -7);
    EXPECT_EQ(WholeNumber(""), std::nullopt);
    EXPECT_EQ(WholeNumber("1001x"), std::nullopt);
    EXPECT_EQ(WholeNumber("-"), std::nullopt);
    EXPECT_EQ(WholeNumber("40000"), std::nullopt);
}

#include "app/WindowGeometry.h"

#include <gtest/gtest.h>

using namespace WindowGeometry;

TEST(WindowGeometry, FirstStartTakesSeventyPercentAtLeastTheMinimumCentred) {
    // 70 % of 1600 x 1000 is 1120 x 700.
    EXPECT_EQ(FirstStart(QRect(0, 0, 1600, 1000)), QRect(240, 150, 1120, 700));
    // 70 % of 1280 x 800 is 896 x 560: the minimum applies.
    EXPECT_EQ(FirstStart(QRect(0, 0, 1280, 800)), QRect(140, 50, 1000, 700));
    // A screen smaller than the minimum is filled, not overflowed.
    EXPECT_EQ(FirstStart(QRect(0, 0, 800, 600)), QRect(0, 0, 800, 600));
    // The available area of a screen with a panel, and a second screen to the left.
    EXPECT_EQ(FirstStart(QRect(-1920, 30, 1920, 1050)), QRect(-1632, 187, 1344, 735));
}

TEST(WindowGeometry, NoStoredPlacementOpensOnThePrimaryScreen) {
    const QList<QRect> screens{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1920, 1080)};
    EXPECT_EQ(AtStart(screens, std::nullopt), QRect(240, 150, 1120, 700));
    EXPECT_FALSE(AtStart({}, std::nullopt).isValid());
}

TEST(WindowGeometry, StoredPlacementOnAScreenIsKept) {
    const QList<QRect> screens{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1920, 1080)};
    for (const QRect stored :
         {QRect(67, 67, 433, 433), QRect(1700, 100, 800, 600), QRect(-300, -20, 800, 600),
          QRect(1500, 900, 400, 300), QRect(0, 0, 3000, 2000)}) {
        EXPECT_EQ(AtStart(screens, stored), stored) << stored.x() << "," << stored.y();
    }
}

TEST(WindowGeometry, StoredPlacementOutsideEveryScreenIsBroughtBack) {
    const QList<QRect> screens{QRect(0, 0, 1600, 1000)};
    // Left on a second screen that has gone: moved to the edge of the remaining one.
    EXPECT_EQ(AtStart(screens, QRect(2000, 100, 800, 600)), QRect(800, 100, 800, 600));
    // Far above and left.
    EXPECT_EQ(AtStart(screens, QRect(-5000, -3000, 800, 600)), QRect(0, 0, 800, 600));
    // Only a sliver (60 x 30 px) shows: not enough to reach the title bar.
    EXPECT_EQ(AtStart(screens, QRect(1540, 970, 800, 600)), QRect(800, 400, 800, 600));
    // Larger than the screen it lands on: shrunk to it.
    EXPECT_EQ(AtStart(screens, QRect(4000, 0, 2500, 1400)), QRect(0, 0, 1600, 1000));
}

TEST(WindowGeometry, BroughtBackOntoTheNearestScreen) {
    const QList<QRect> screens{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1920, 1080)};
    // Below the right-hand screen: it goes there, not to the primary one.
    EXPECT_EQ(AtStart(screens, QRect(2500, 1500, 800, 600)), QRect(2500, 480, 800, 600));
    EXPECT_TRUE(Reachable(screens, QRect(1550, 10, 800, 600)));
    EXPECT_FALSE(Reachable(screens, QRect(3520, 10, 800, 600)));
}

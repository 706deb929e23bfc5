#include "meter/PortCatalogue.h"

#include <gtest/gtest.h>

namespace {

QList<PortEntry> System() {
    return {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("ttyUSB0")},
            {QStringLiteral("/dev/ttyS0"), QStringLiteral("ttyS0")},
            {QStringLiteral("/dev/ttyACM1"), QStringLiteral("ttyACM1")}};
}

bool Everything(const QString&) {
    return true;
}

} // namespace

TEST(PortCatalogue, SystemPortsByNameThenExtraDevices) {
    PortCatalogue c({QStringLiteral("/tmp/meter"), QStringLiteral("/dev/ttyS0")}, false, System,
                    Everything);
    ASSERT_EQ(c.Count(), 4); // a listed device given again is not counted twice
    EXPECT_EQ(c.Device(1), QStringLiteral("/dev/ttyACM1"));
    EXPECT_EQ(c.DisplayName(1), QStringLiteral("ttyACM1"));
    EXPECT_EQ(c.Device(2), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(c.DisplayName(3), QStringLiteral("ttyUSB0"));
    EXPECT_EQ(c.Device(4), QStringLiteral("/tmp/meter"));
    EXPECT_EQ(c.DisplayName(4), QStringLiteral("/tmp/meter"));
    EXPECT_TRUE(c.Device(0).isEmpty());
    EXPECT_TRUE(c.Device(5).isEmpty());
    EXPECT_FALSE(c.PortExists(0));
    EXPECT_FALSE(c.PortExists(5));
    EXPECT_TRUE(c.PortExists(4));
}

TEST(PortCatalogue, OnlyTheGivenDevicesWhenAsked) {
    int listings = 0;
    PortCatalogue c(
        {QStringLiteral("/dev/pts/7"), QStringLiteral("/dev/pts/7"), QStringLiteral("/dev/pts/9")},
        true,
        [&] {
            ++listings;
            return System();
        },
        [](const QString& device) { return device.endsWith(QLatin1Char('9')); });
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c.DisplayName(1), QStringLiteral("/dev/pts/7"));
    EXPECT_FALSE(c.PortExists(1)); // the node is gone
    EXPECT_TRUE(c.PortExists(2));
    c.Refresh();
    EXPECT_EQ(listings, 0);
}

TEST(PortCatalogue, RefreshSeesPortsComeAndGo) {
    QList<PortEntry> present = System();
    PortCatalogue c(
        {}, false, [&] { return present; }, Everything);
    EXPECT_EQ(c.Count(), 3);
    present.removeFirst();
    c.Refresh();
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(c.DisplayName(2), QStringLiteral("ttyS0"));
}

TEST(PortCatalogue, ExtraListAndRealNodes) {
    EXPECT_EQ(PortCatalogue::ParseExtraList(QStringLiteral(" /dev/ttyS4 ,, /tmp/m,/dev/ttyS4 ")),
              QStringList({"/dev/ttyS4", "/tmp/m"}));
    EXPECT_TRUE(PortCatalogue::ParseExtraList(QString()).isEmpty());
    EXPECT_TRUE(PortCatalogue::DeviceNodeExists(QStringLiteral("/dev/null")));
    EXPECT_FALSE(PortCatalogue::DeviceNodeExists(QStringLiteral("/dev/no-such-port")));
}

// Commands that never talk to a meter make a catalogue too: it asks the system only when a
// port is first wanted, once until the next Refresh.
TEST(PortCatalogue, TheSystemIsAskedAtTheFirstQuestionOnly) {
    int listings = 0;
    PortCatalogue c(
        {}, false,
        [&] {
            ++listings;
            return System();
        },
        Everything);
    EXPECT_EQ(listings, 0);
    EXPECT_EQ(c.Device(1), QStringLiteral("/dev/ttyACM1"));
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(listings, 1);
    c.Refresh();
    EXPECT_EQ(listings, 1);
    EXPECT_TRUE(c.PortExists(3));
    EXPECT_EQ(listings, 2);
}

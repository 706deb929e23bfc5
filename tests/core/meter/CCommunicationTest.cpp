#include "meter/CCommunication.h"

#include "support/ScriptedMeterLink.h"

#include <gtest/gtest.h>

TEST(CCommunication, ASearchThatFindsNothingRunsASecondPass) {
    ScriptedMeterLink link;
    link.meterPresent = false;
    CCommunication communication(link);
    EXPECT_FALSE(communication.Scan());
    // The second pass is the same command: a port's open failure is not said again.
    EXPECT_EQ(link.calls, QStringList({"COMScanPorts", "COMScanPortsAgain"}));
    EXPECT_EQ(communication.COMPort, 0);
    EXPECT_EQ(communication.Baudrate, QString());
}

TEST(CCommunication, AStoppedSearchStaysStopped) {
    ScriptedMeterLink link;
    CCommunication communication(link);
    // The wait dialog is closed during the first pass: the meter must not be found by a
    // second pass the user never asked for.
    link.duringScan = [&] {
        if (link.calls.count(QStringLiteral("COMScanPorts")) == 1) {
            link.COMStop();
        }
    };
    EXPECT_FALSE(communication.Scan());
    EXPECT_EQ(link.calls.count(QStringLiteral("COMScanPorts")), 1);
    EXPECT_EQ(communication.COMPort, 0);

    // The next search is a fresh start and finds the meter.
    link.duringScan = nullptr;
    EXPECT_TRUE(communication.Scan());
    EXPECT_EQ(communication.COMPort, 1);
    EXPECT_EQ(communication.Baudrate, QStringLiteral("4800"));
}

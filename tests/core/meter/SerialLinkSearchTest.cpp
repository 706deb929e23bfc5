#include "SerialLinkFixture.h"
#include "app/TextTables.h"

#include <QElapsedTimer>

namespace {

// Silent devices "p1".."pN" around the meter's device at `meterPosition` (from 1).
FakeSerialLine::Device& PortsWithMeter(FakeSerialLine& line, int count, int meterPosition,
                                       const QString& meterBaud) {
    FakeSerialLine::Device* meter = nullptr;
    for (int n = 1; n <= count; ++n) {
        FakeSerialLine::Device& d = line.Add(QStringLiteral("p%1").arg(n));
        if (n == meterPosition) {
            d.answer = FakeSerialLine::Answering(QStringLiteral("ok"));
            d.meterBaud = meterBaud;
            meter = &d;
        }
    }
    return *meter;
}

} // namespace

TEST_F(SerialLinkTest, SearchFindsAMeterAt2400OnTheFourthRateWaitingForAllPortsAtOnce) {
    FakeSerialLine::Device& meter = PortsWithMeter(line, 8, 1, QStringLiteral("2400"));
    int port = -1;
    QString baud = QStringLiteral("x");
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(Link().COMScanPorts(port, baud));
    // Each rate costs one answer time however many ports there are (the silent ports
    // are waited for at the meter's rate, too, since a later port may answer last).
    EXPECT_LT(clock.elapsed(), 4 * 1200);
    EXPECT_GT(clock.elapsed(), 4 * 1000);
    EXPECT_EQ(port, 1);
    EXPECT_EQ(baud, QStringLiteral("2400"));
    // Every port heard the probe at every rate tried.
    EXPECT_EQ(line[QStringLiteral("p8")].written.size(), 4);
    EXPECT_EQ(meter.written, QStringList(4, QStringLiteral("U.400\r\n")));
    // Only the meter's port stays open, on instance 0, ready for the conversation.
    EXPECT_TRUE(meter.open);
    EXPECT_EQ(line.OpenCount(), 1);
    EXPECT_EQ(meter.baud, QStringLiteral("2400"));
    // The status shows the ports found so far and the rate.
    EXPECT_EQ(status.first(), QStringLiteral("p1 |4800 Baud"));
    EXPECT_TRUE(status.contains(QStringLiteral("p1 p2 p3 p4 p5 p6 p7 p8 |2400 Baud")));
    EXPECT_EQ(status.last(), QStringLiteral("p1 p2 p3 p4 p5 p6 p7 p8 |2400 Baud"));
    EXPECT_TRUE(ui.messages.isEmpty());

    // The search leaves the link inactive: a wait fails at once until COMInit.
    QString answer;
    EXPECT_FALSE(Link().COMSendAndReceive(kSerialCmd, answer));
    ASSERT_TRUE(Link().COMInit(port, baud, 4));
    EXPECT_EQ(meter.opens, 5); // reopened once per rate, kept open by COMInit
    EXPECT_TRUE(Link().COMSendAndReceive(kSerialCmd, answer));
}

TEST_F(SerialLinkTest, SearchKeepsTheLastPortThatAnswered) {
    line.Add(QStringLiteral("p1")).answer = FakeSerialLine::Answering(QStringLiteral("a"));
    line.Add(QStringLiteral("p2")).answer = FakeSerialLine::Answering(QStringLiteral("b"));
    line.Add(QStringLiteral("p3")); // silent
    // A refusal marks a meter as well.
    line.Add(QStringLiteral("p4")).answer = [](const QString&) { return QStringList{kRefused}; };
    line.Add(QStringLiteral("p5"));
    int port = 0;
    QString baud;
    ASSERT_TRUE(Link().COMScanPorts(port, baud));
    EXPECT_EQ(port, 4);
    EXPECT_EQ(baud, QStringLiteral("4800"));
    EXPECT_TRUE(line[QStringLiteral("p4")].open);
    EXPECT_EQ(line.OpenCount(), 1);
}

TEST_F(SerialLinkTest, PortThatCannotBeOpenedIsNamedOncePerCommand) {
    FakeSerialLine::Device& locked = line.Add(QStringLiteral("/dev/ttyS7"));
    locked.openable = false;
    FakeSerialLine::Device& meter = line.Add(QStringLiteral("meter"));
    meter.answer = FakeSerialLine::Answering(QStringLiteral("ok"));
    meter.meterBaud = QStringLiteral("19200");
    int port = 0;
    QString baud;
    ASSERT_TRUE(Link().COMScanPorts(port, baud));
    EXPECT_EQ(port, 2);
    EXPECT_EQ(baud, QStringLiteral("19200"));
    ASSERT_EQ(ui.messages.size(), 1);
    const QString text = ui.messages[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("/dev/ttyS7"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Permission denied")));
    EXPECT_TRUE(text.contains(QStringLiteral("dialout")));
    EXPECT_EQ(ui.messages[0].title, LoadResString(1033));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
    // The search's second pass belongs to the same command.
    ASSERT_TRUE(Link().COMScanPortsAgain(port, baud));
    EXPECT_EQ(ui.messages.size(), 1);

    // A port in use says so; a new search reports again.
    locked.openError = SerialPortError::Busy;
    locked.openErrorText = QStringLiteral("Device or resource busy");
    ASSERT_TRUE(Link().COMScanPorts(port, baud));
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages[1].text.contains(QStringLiteral("Un autre programme")));
    EXPECT_FALSE(ui.messages[1].text.contains(QStringLiteral("dialout")));
}

TEST_F(SerialLinkTest, ConversationOnAPortThatCannotBeOpenedFailsWithTheReason) {
    line.Add(QStringLiteral("/dev/ttyUSB3")).openable = false;
    EXPECT_FALSE(Link().COMInit(1, QStringLiteral("4800"), 4));
    // Tried twice, as a port may come free in between, and said once.
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("/dev/ttyUSB3")));
    EXPECT_FALSE(Link().COMInit(1, QStringLiteral("4800"), 4));
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_FALSE(Link().COMInit(9, QStringLiteral("4800"), 4));
    EXPECT_TRUE(ui.messages.last().text.contains(QStringLiteral("numéro 9")));
    QString answer = QStringLiteral("old");
    EXPECT_FALSE(Link().COMSendAndReceive(kSerialCmd, answer));
    EXPECT_TRUE(answer.isEmpty());
}

TEST_F(SerialLinkTest, StopDuringTheSearchEndsIt) {
    PortsWithMeter(line, 3, 2, QStringLiteral("1200"));
    ui.onYield = [&] {
        if (ui.yields == 20) {
            Link().COMStop();
        }
    };
    int port = 7;
    QString baud = QStringLiteral("x");
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Link().COMScanPorts(port, baud));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(port, 0);
    EXPECT_TRUE(baud.isEmpty());
    EXPECT_EQ(line.OpenCount(), 0);
}

TEST_F(SerialLinkTest, VanishedPortsAreSkipped) {
    FakeSerialLine::Device& first = PortsWithMeter(line, 2, 1, QString());
    line[QStringLiteral("p2")].answer = FakeSerialLine::Answering(QStringLiteral("gone"));
    PortCatalogue onlyTheFirst(
        {QStringLiteral("p1"), QStringLiteral("p2")}, true, [] { return QList<PortEntry>(); },
        [](const QString& device) { return device == QLatin1String("p1"); });
    SerialLink partial(ui, onlyTheFirst, line.PortMaker());
    int port = 0;
    QString baud;
    ASSERT_TRUE(partial.COMScanPorts(port, baud));
    EXPECT_EQ(port, 1); // p2 would have been the last to answer
    EXPECT_EQ(first.written.size(), 1);
    EXPECT_TRUE(line[QStringLiteral("p2")].written.isEmpty());
}

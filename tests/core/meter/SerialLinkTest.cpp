#include "SerialLinkFixture.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

TEST_F(SerialLinkTest, AnswerArrivingInPiecesIsJoined) {
    FakeSerialLine::Device& meter = Meter({{QStringLiteral("\r\nSN"), QStringLiteral("-12"),
                                            QStringLiteral("34\r\n!"), QStringLiteral("\r\n>")}});
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 4));
    EXPECT_EQ(meter.baud, QStringLiteral("4800"));
    QString answer;
    EXPECT_TRUE(Link().COMSendAndReceive(kSerialCmd, answer));
    EXPECT_EQ(answer, QStringLiteral("\r\nSN-1234") + kOk);
    EXPECT_EQ(meter.written, QStringList{kSerialCmd});
    EXPECT_GE(meter.reads, 4);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(SerialLinkTest, CharactersAfterTheTerminatorRunIntoTheTimeOut) {
    FakeSerialLine::Device& meter = Meter({{QStringLiteral("\r\n42") + kOk + QStringLiteral("x")}});
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 1));
    QString answer = QStringLiteral("old");
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Link().COMSendAndReceive(kSerialCmd, answer));
    // Two attempts, each ending only when more than the answer time has passed.
    EXPECT_GT(clock.elapsed(), 2000);
    EXPECT_LT(clock.elapsed(), 2500); // no extra second per attempt
    EXPECT_TRUE(answer.isEmpty());
    EXPECT_EQ(meter.written.size(), 2);
}

TEST_F(SerialLinkTest, RefusedCommandIsSentAgain) {
    FakeSerialLine::Device& meter = Meter({{kRefused}, {QStringLiteral("\r\n2.05") + kOk}});
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 4));
    QString answer;
    EXPECT_TRUE(Link().COMSendAndReceive(QStringLiteral("U.597\r\n"), answer));
    EXPECT_EQ(answer, QStringLiteral("\r\n2.05") + kOk);
    EXPECT_EQ(meter.written.size(), 2);
}

TEST_F(SerialLinkTest, RefusedTwiceComesBackAsAnAnswer) {
    FakeSerialLine::Device& meter = Meter({{QStringLiteral("\r\nno"), kRefused}});
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 4));
    QString answer;
    EXPECT_TRUE(Link().COMSendAndReceive(QStringLiteral("U.592\r\n"), answer));
    EXPECT_EQ(answer, QStringLiteral("\r\nno") + kRefused);
    EXPECT_EQ(meter.written.size(), 2);

    // A meter that refuses and then stays silent: the second attempt decides.
    meter.answer = [n = 0](const QString&) mutable {
        return n++ == 0 ? QStringList{kRefused} : QStringList{};
    };
    ASSERT_TRUE(Link().COMChangeAnswerTime(1));
    EXPECT_FALSE(Link().COMSendAndReceive(QStringLiteral("U.592\r\n"), answer));
    EXPECT_TRUE(answer.isEmpty());
}

TEST_F(SerialLinkTest, StopEndsAWaitAtItsNextPoll) {
    FakeSerialLine::Device& meter = line.Add(QStringLiteral("meter")); // silent
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 600));
    int readsAtStop = -1;
    ui.onYield = [&] {
        if (ui.yields == 3) {
            readsAtStop = meter.reads;
            Link().COMStop();
        }
    };
    QElapsedTimer clock;
    clock.start();
    QString answer = QStringLiteral("old");
    EXPECT_FALSE(Link().COMSendAndReceive(kSerialCmd, answer));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(answer.isEmpty());
    ASSERT_GE(readsAtStop, 0);
    EXPECT_LE(meter.reads - readsAtStop, 1);

    // Continuing makes the link answer again.
    ui.onYield = nullptr;
    meter.answer = FakeSerialLine::Answering(QStringLiteral("7"));
    ASSERT_TRUE(Link().COMContinue());
    EXPECT_TRUE(Link().COMSendAndReceive(kSerialCmd, answer));
    EXPECT_EQ(answer, QStringLiteral("\r\n7") + kOk);
}

TEST_F(SerialLinkTest, DeinitThenInitOnTheSamePortKeepsItOpen) {
    line.Add(QStringLiteral("first"));
    line.Add(QStringLiteral("second"));
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 4));
    ASSERT_TRUE(Link().COMDeinit());
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("9600"), 4));
    EXPECT_EQ(line[QStringLiteral("first")].opens, 1);
    EXPECT_EQ(line[QStringLiteral("first")].closes, 0);
    EXPECT_EQ(line[QStringLiteral("first")].baud, QStringLiteral("9600"));

    ASSERT_TRUE(Link().COMDeinit());
    ASSERT_TRUE(Link().COMInit(2, QStringLiteral("9600"), 4));
    EXPECT_EQ(line[QStringLiteral("first")].closes, 1);
    EXPECT_EQ(line[QStringLiteral("second")].opens, 1);
    EXPECT_EQ(line.OpenCount(), 1);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(SerialLinkTest, DeviceGoingAwayEndsTheWaitAtOnceAndIsOpenedAfreshLater) {
    FakeSerialLine::Device& meter =
        Meter({{QStringLiteral("\r\n1;07/12/26"), QStringLiteral(";09:05:03")}});
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 600));
    ui.onYield = [&] {
        if (ui.yields == 3) {
            meter.gone = true;
        }
    };
    QElapsedTimer clock;
    clock.start();
    QString answer = QStringLiteral("old");
    EXPECT_FALSE(Link().COMSendAndReceive(QStringLiteral("U.581\r\n"), answer));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(answer.isEmpty());
    EXPECT_EQ(meter.written.size(), 1); // no repeat into a vanished device
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("meter")));
    // Further exchanges fail at once too, without saying it again.
    EXPECT_FALSE(Link().COMSendAndReceive(QStringLiteral("U.999\r\n"), answer));
    EXPECT_EQ(ui.messages.size(), 1);
    ASSERT_TRUE(Link().COMDeinit());

    // Plugged in again: the next conversation opens the device afresh and talks.
    ui.onYield = nullptr;
    meter.answer = FakeSerialLine::Answering(QStringLiteral("7"));
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 4));
    EXPECT_EQ(meter.opens, 2);
    EXPECT_EQ(meter.closes, 1);
    EXPECT_TRUE(Link().COMSendAndReceive(kSerialCmd, answer));
    EXPECT_EQ(answer, QStringLiteral("\r\n7") + kOk);
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(SerialLinkTest, CharactersBeforeTheOpeningLineBreakAreNotPartOfTheAnswer) {
    // What a meter sent after the terminator of its previous answer comes in first.
    FakeSerialLine::Device& meter =
        Meter({{QStringLiteral("#~"), QStringLiteral("\r\nZV-0042") + kOk}});
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 4));
    QString answer;
    EXPECT_TRUE(Link().COMSendAndReceive(kSerialCmd, answer));
    EXPECT_EQ(answer, QStringLiteral("\r\nZV-0042") + kOk);
    EXPECT_EQ(meter.written.size(), 1);
    // Only characters before the first line break go; the answer itself stays whole.
    meter.answer = [](const QString&) { return QStringList{QStringLiteral("x\r\n\r\n7") + kOk}; };
    EXPECT_TRUE(Link().COMSendAndReceive(kSerialCmd, answer));
    EXPECT_EQ(answer, QStringLiteral("\r\n\r\n7") + kOk);
}

// After the user ended a wait, only the command the caller sends on purpose (the abort)
// reaches the meter: the link does not repeat the stopped command, and a conversation
// started from an event inside the wait is refused without a word.
TEST_F(SerialLinkTest, AStoppedWaitIsNotRepeatedAndNothingStartsInsideAWait) {
    FakeSerialLine::Device& meter = line.Add(QStringLiteral("meter")); // silent
    ASSERT_TRUE(Link().COMInit(1, QStringLiteral("4800"), 600));
    bool nestedSend = true;
    bool nestedInit = true;
    int nestedScanPort = -1;
    ui.onYield = [&] {
        if (ui.yields == 2) {
            QString nested;
            nestedSend = Link().COMSendAndReceive(QStringLiteral("U.581\r\n"), nested);
            nestedInit = Link().COMInit(1, QStringLiteral("4800"), 4);
            QString baud;
            int port = 0;
            Link().COMScanPorts(port, baud);
            nestedScanPort = port;
            Link().COMStop();
        }
    };
    QString answer;
    EXPECT_FALSE(Link().COMSendAndReceive(QStringLiteral("U.587\r\n"), answer));
    EXPECT_FALSE(nestedSend);
    EXPECT_FALSE(nestedInit);
    EXPECT_EQ(nestedScanPort, 0);
    EXPECT_EQ(meter.written, QStringList{QStringLiteral("U.587\r\n")});
    EXPECT_TRUE(ui.messages.isEmpty());

    // While stopped nothing is written; the abort goes out once the link continues.
    ui.onYield = nullptr;
    EXPECT_FALSE(Link().COMSendAndReceive(QStringLiteral("U.587\r\n"), answer));
    EXPECT_EQ(meter.written.size(), 1);
    meter.answer = FakeSerialLine::Answering(QString());
    ASSERT_TRUE(Link().COMContinue());
    EXPECT_TRUE(Link().COMSendAndReceive(QStringLiteral("U.999\r\n"), answer));
    EXPECT_EQ(meter.written.back(), QStringLiteral("U.999\r\n"));
}

#include "engine/LineAssembler.h"
#include "engine/OutputPacer.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = OutputPacer::Clock;

TEST(LineAssembler, JoinsPiecesAndCutsAtLineFeed) {
    LineAssembler lines;
    EXPECT_TRUE(lines.Feed("U.4").isEmpty());
    EXPECT_TRUE(lines.Feed("00\r").isEmpty());
    EXPECT_EQ(lines.Feed("\nU.597\r\nU.5"), QList<QByteArray>{"U.400"} << "U.597");
    EXPECT_EQ(lines.Feed("95\n\r\n"), QList<QByteArray>{"U.595"} << "");
}

TEST(LineAssembler, DropsALineThatNeverEnds) {
    LineAssembler lines;
    lines.Feed(QByteArray(LineAssembler::kMaxLine + 1, 'x'));
    EXPECT_EQ(lines.Feed("U.400\r\n"), QList<QByteArray>{"U.400"});
}

// Everything the pacer lets out from `start` up to `end`, asked every millisecond; `times`
// receives the moment each character came out.
QByteArray Drain(OutputPacer& pacer, Clock::time_point start, Clock::time_point end,
                 QList<Clock::time_point>* times = nullptr) {
    QByteArray out;
    for (Clock::time_point now = start; now <= end; now += 1ms) {
        const QByteArray bytes = pacer.Take(now, 1000);
        out += bytes;
        for (qsizetype i = 0; times != nullptr && i < bytes.size(); ++i) {
            *times << now;
        }
    }
    return out;
}

TEST(OutputPacer, LetsOutOneCharacterPerTenBitTimes) {
    OutputPacer pacer(4800);
    const QByteArray answer(1000, 'a');
    pacer.Enqueue(answer, 0, 0ms, 0ms);
    const Clock::time_point start = Clock::now();
    // 4800 baud carry 480 characters a second.
    const QByteArray firstSecond = Drain(pacer, start, start + 999ms);
    EXPECT_GE(firstSecond.size(), 479);
    EXPECT_LE(firstSecond.size(), 481);
    const QByteArray rest = Drain(pacer, start + 1000ms, start + 3000ms);
    EXPECT_EQ(firstSecond + rest, answer);
    EXPECT_TRUE(pacer.Empty());
    EXPECT_FALSE(pacer.NextDue(start).has_value());
}

TEST(OutputPacer, WaitsForTheDelayAndBetweenChunks) {
    OutputPacer pacer(115200);
    pacer.Enqueue("abcdefgh", 3, 100ms, 30ms);
    const Clock::time_point start = Clock::now();
    QList<Clock::time_point> times;
    EXPECT_EQ(Drain(pacer, start, start + 99ms, &times), QByteArray());
    EXPECT_EQ(Drain(pacer, start + 100ms, start + 500ms, &times), QByteArray("abcdefgh"));
    // Three pieces, each at least a gap after the one before, the characters of one piece
    // close together.
    ASSERT_EQ(times.size(), 8);
    EXPECT_GE(times[3] - times[2], 30ms);
    EXPECT_GE(times[6] - times[5], 30ms);
    EXPECT_LT(times[2] - times[0], 5ms);
}

TEST(OutputPacer, BytesPutBackGoOutFirstAndClearDropsEverything) {
    OutputPacer pacer(9600);
    pacer.Enqueue("first", 0, 0ms, 0ms);
    pacer.Enqueue("second", 0, 0ms, 0ms);
    const Clock::time_point start = Clock::now();
    ASSERT_EQ(pacer.Take(start, 4), QByteArray("f"));
    const QByteArray taken = pacer.Take(start + 10ms, 4);
    ASSERT_EQ(taken, QByteArray("irst"));
    pacer.PutBack(taken.mid(2)); // only "ir" could be written
    EXPECT_EQ(Drain(pacer, start + 10ms, start + 100ms), QByteArray("stsecond"));
    pacer.Enqueue("third", 0, 0ms, 0ms);
    pacer.Clear();
    EXPECT_TRUE(pacer.Empty());
    EXPECT_EQ(Drain(pacer, start + 100ms, start + 200ms), QByteArray());
}

} // namespace

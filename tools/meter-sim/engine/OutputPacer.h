#pragma once

#include <QByteArray>
#include <chrono>
#include <deque>
#include <optional>

// Lets answers out no faster than the line would carry them: one character per ten bit
// times of the baud rate, optionally after a delay and in pieces separated by gaps.
class OutputPacer {
public:
    using Clock = std::chrono::steady_clock;

    explicit OutputPacer(int baud);

    // Queues one answer behind the ones still going out.
    void Enqueue(const QByteArray& answer, int chunk, std::chrono::milliseconds delay,
                 std::chrono::milliseconds gap);

    // The characters whose time has come (at most `limit`), taken off the queue.
    QByteArray Take(Clock::time_point now, qsizetype limit);
    // Gives back the tail of what Take returned but could not be written.
    void PutBack(const QByteArray& bytes);

    // When Take has something next; nothing while the queue is empty.
    std::optional<Clock::time_point> NextDue(Clock::time_point now) const;
    bool Empty() const { return m_segments.empty(); }
    void Clear() { m_segments.clear(); }

private:
    struct Segment {
        QByteArray bytes;
        std::chrono::milliseconds gap;
        bool started = false;
    };

    std::chrono::nanoseconds m_charTime;
    Clock::time_point m_next{};
    std::deque<Segment> m_segments;
};

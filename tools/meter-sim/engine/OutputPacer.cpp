#include "engine/OutputPacer.h"

#include <algorithm>

OutputPacer::OutputPacer(int baud)
    : m_charTime(std::chrono::nanoseconds(10'000'000'000LL / std::max(baud, 1))) {}

void OutputPacer::Enqueue(const QByteArray& answer, int chunk, std::chrono::milliseconds delay,
                          std::chrono::milliseconds gap) {
    const qsizetype piece = chunk > 0 ? chunk : std::max<qsizetype>(answer.size(), 1);
    for (qsizetype at = 0; at < answer.size(); at += piece) {
        m_segments.push_back({answer.mid(at, piece), at == 0 ? delay : gap});
    }
}

QByteArray OutputPacer::Take(Clock::time_point now, qsizetype limit) {
    if (m_segments.empty() || limit <= 0) {
        return {};
    }
    Segment& head = m_segments.front();
    if (!head.started) {
        // The line was idle or still carries the previous piece; the gap counts from
        // whichever is later.
        m_next = std::max(m_next, now) + head.gap;
        head.started = true;
    }
    if (now < m_next) {
        return {};
    }
    const qsizetype due = 1 + (now - m_next) / m_charTime;
    const qsizetype count = std::min({due, limit, head.bytes.size()});
    QByteArray bytes = head.bytes.left(count);
    head.bytes.remove(0, count);
    m_next += m_charTime * count;
    if (head.bytes.isEmpty()) {
        m_segments.pop_front();
    }
    return bytes;
}

void OutputPacer::PutBack(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return;
    }
    m_next -= m_charTime * bytes.size();
    if (!m_segments.empty() && m_segments.front().started) {
        m_segments.front().bytes.prepend(bytes);
        return;
    }
    m_segments.push_front({bytes, std::chrono::milliseconds(0), true});
}

std::optional<OutputPacer::Clock::time_point> OutputPacer::NextDue(Clock::time_point now) const {
    if (m_segments.empty()) {
        return std::nullopt;
    }
    return m_segments.front().started ? m_next : now;
}

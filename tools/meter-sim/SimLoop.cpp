#include "SimLoop.h"

#include "CommandLog.h"
#include "PtyDevice.h"
#include "engine/Faults.h"
#include "engine/MeterEngine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = OutputPacer::Clock;

// How long to look away while nobody has the device open, and the longest wait otherwise.
constexpr auto kIdleRetry = 20ms;
constexpr auto kMaxWait = 200ms;
constexpr qsizetype kWriteLimit = 256;

timespec ToTimespec(Clock::duration wait) {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(wait, {}));
    return {static_cast<time_t>(ns.count() / 1'000'000'000),
            static_cast<long>(ns.count() % 1'000'000'000)};
}

sigset_t Unblocked() {
    sigset_t mask;
    sigemptyset(&mask);
    return mask;
}

} // namespace

SimLoop::SimLoop(PtyDevice& pty, MeterEngine& engine, CommandLog& log, int baud)
    : m_pty(pty), m_engine(engine), m_log(log), m_baud(baud), m_pacer(baud) {}

void SimLoop::Run(const volatile std::sig_atomic_t& stop) {
    while (stop == 0) {
        Transmit();
        Wait();
    }
}

void SimLoop::Wait() {
    const sigset_t open = Unblocked();
    if (m_hungUp) {
        // The master reports a hang-up for as long as nobody has the device open.
        const timespec retry = ToTimespec(kIdleRetry);
        ppoll(nullptr, 0, &retry, &open);
        m_hungUp = false;
        return;
    }
    const Clock::time_point now = Clock::now();
    Clock::duration wait = kMaxWait;
    if (const auto due = m_pacer.NextDue(now); due && !m_blocked) {
        wait = std::min<Clock::duration>(wait, *due - now);
    }
    pollfd fd{m_pty.master(), static_cast<short>(POLLIN | (m_blocked ? POLLOUT : 0)), 0};
    const timespec timeout = ToTimespec(wait);
    if (ppoll(&fd, 1, &timeout, &open) <= 0) {
        return;
    }
    if (fd.revents & POLLOUT) {
        m_blocked = false;
    }
    if (fd.revents & (POLLIN | POLLHUP | POLLERR)) {
        Receive();
    }
}

void SimLoop::Receive() {
    char buffer[4096];
    const ssize_t got = read(m_pty.master(), buffer, sizeof buffer);
    if (got < 0) {
        if (errno == EIO) {
            Disconnected();
        }
        return;
    }
    // Somebody has opened the device and talks to it: from now on the node stays because
    // the program holds it.
    m_pty.ReleaseHold();
    for (const QByteArray& line : m_lines.Feed(QByteArray(buffer, got))) {
        Handle(line);
    }
}

void SimLoop::Handle(const QByteArray& line) {
    m_log.Record(line);
    // At another line speed the meter would only see noise; it says nothing.
    if (m_pty.LineSpeed() != m_baud) {
        return;
    }
    if (m_engine.Interrupts(line)) {
        m_pacer.Clear();
    }
    const std::optional<QByteArray> answer = m_engine.Answer(line);
    if (!answer) {
        return;
    }
    const Faults& faults = m_engine.faults();
    m_pacer.Enqueue(*answer, faults.chunk, std::chrono::milliseconds(faults.delayMs),
                    std::chrono::milliseconds(Faults::kChunkGapMs));
}

void SimLoop::Transmit() {
    if (m_pacer.Empty() || m_blocked || m_hungUp) {
        return;
    }
    if (m_pty.LineSpeed() != m_baud) {
        // The program switched speed in the middle of an answer: the rest would be noise.
        m_pacer.Clear();
        return;
    }
    const QByteArray bytes = m_pacer.Take(Clock::now(), kWriteLimit);
    if (bytes.isEmpty()) {
        return;
    }
    const ssize_t written = write(m_pty.master(), bytes.constData(), bytes.size());
    if (written < 0 && errno == EIO) {
        Disconnected();
        return;
    }
    const qsizetype sent = std::max<ssize_t>(written, 0);
    if (sent < bytes.size()) {
        m_pacer.PutBack(bytes.mid(sent));
        m_blocked = true;
    }
}

void SimLoop::Disconnected() {
    // Nobody has the device open (yet, or any more): what was under way is lost.
    m_hungUp = true;
    m_blocked = false;
    m_lines.Clear();
    m_pacer.Clear();
}

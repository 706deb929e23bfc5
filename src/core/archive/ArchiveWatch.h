#pragma once

#include <QtGlobal>
#include <atomic>

// How long the thread that uses an archive connection has gone without a word from the
// database, for another thread to see: a server backend that stops answering (stopped, or
// its machine frozen) fires none of the server's own time-outs and keeps a call waiting for
// ever. Counted from the last call's start or return, so that a call the connection makes
// without reporting (reading a result's next rows, listing the tables) is timed as well.
class ArchiveWatch {
public:
    ArchiveWatch();

    // One call into the database, from its start to its return: both count as progress.
    class Call {
    public:
        explicit Call(ArchiveWatch* watch);
        ~Call();
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        ArchiveWatch* m_watch;
    };

    // Milliseconds since the last call started or returned (or since the watch was made).
    qint64 WaitingMs() const;

private:
    void Progress();

    std::atomic<qint64> m_since; // milliseconds of a monotonic clock
};

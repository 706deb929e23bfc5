#pragma once

#include <QtGlobal>
#include <atomic>

// Since when the thread that uses an archive connection has been waiting on the database,
// for another thread to see: a server backend that stops answering (stopped, or its machine
// frozen) fires none of the server's own time-outs and keeps the call waiting for ever.
class ArchiveWatch {
public:
    // One call into the database, from its start to its return.
    class Call {
    public:
        explicit Call(ArchiveWatch* watch);
        ~Call();
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        ArchiveWatch* m_watch;
    };

    // How long the call under way has been waiting, in milliseconds; 0 between calls.
    qint64 WaitingMs() const;

private:
    std::atomic<qint64> m_since{-1}; // milliseconds of a monotonic clock, -1 between calls
};

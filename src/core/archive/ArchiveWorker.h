#pragma once

#include <QtGlobal>
#include <functional>

class ArchiveWatch;

// Runs archive work on a thread of its own and waits for it, unless the database has not
// answered for longer than the deadline: then the caller stops waiting and the thread is left to
// itself with its connection (Qt's database drivers block, and nothing can interrupt a call
// to a server that does not answer). The work opens its own ArchiveDatabase on that thread
// (a connection belongs to the thread that opened it) and has it report to the watch.
class ArchiveWorker {
public:
    // True when `work` ended (an exception it threw is thrown again here); false when it was
    // abandoned after `deadlineMs` without a word from the database. What `work` refers to
    // must then outlive the abandoned thread (a program ending at once, without running its
    // destructors, is the one sure way).
    static bool Run(qint64 deadlineMs, const std::function<void(ArchiveWatch&)>& work);
};

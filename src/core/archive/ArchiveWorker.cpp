#include "archive/ArchiveWorker.h"

#include "archive/ArchiveWatch.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// What the waiting thread and the worker share: it lives as long as the longer of the two.
struct Shared {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::exception_ptr failure;
    ArchiveWatch watch;
};

// How often the waiting thread looks at the watch.
constexpr std::chrono::milliseconds kLook{100};

} // namespace

bool ArchiveWorker::Run(qint64 deadlineMs, const std::function<void(ArchiveWatch&)>& work) {
    const auto shared = std::make_shared<Shared>();
    std::thread([shared, work] {
        std::exception_ptr failure;
        try {
            work(shared->watch);
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard<std::mutex> lock(shared->mutex);
        shared->failure = failure;
        shared->done = true;
        shared->ended.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(shared->mutex);
    while (!shared->ended.wait_for(lock, kLook, [&] { return shared->done; })) {
        if (shared->watch.WaitingMs() > deadlineMs) {
            return false;
        }
    }
    if (shared->failure) {
        std::rethrow_exception(shared->failure);
    }
    return true;
}

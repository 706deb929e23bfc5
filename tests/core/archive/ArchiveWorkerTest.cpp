// Archive work on a thread of its own: waited for while the database answers, abandoned
// once it has been silent past the deadline, its failure handed back to the caller.

#include "archive/ArchiveWorker.h"

#include "app/Errors.h"
#include "archive/ArchiveWatch.h"

#include <QElapsedTimer>
#include <future>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(ArchiveWorker, WaitsForWorkThatAnswersAbandonsSilentWorkAndHandsBackAFailure) {
    int calls = 0;
    EXPECT_TRUE(ArchiveWorker::Run(1000, [&](ArchiveWatch& watch) {
        for (int i = 0; i < 3; ++i) {
            const ArchiveWatch::Call call(&watch);
            ++calls;
        }
    }));
    EXPECT_EQ(calls, 3);

    // A call that never returns, as to a server backend that was stopped; released once the
    // caller has given up, so the abandoned thread ends.
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(ArchiveWorker::Run(300, [released](ArchiveWatch& watch) {
        const ArchiveWatch::Call call(&watch);
        released.wait();
    }));
    EXPECT_GE(timer.elapsed(), 300);
    EXPECT_LT(timer.elapsed(), 3000);
    release->set_value();

    EXPECT_THROW(ArchiveWorker::Run(1000, [](ArchiveWatch&) { throw MervexError(QString()); }),
                 MervexError);
}

} // namespace

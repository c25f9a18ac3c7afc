#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "ui/UiTestSupport.h"
#include "ui/foundation/QtRunLoop.h"

namespace olvane::ui {
namespace {

using namespace std::chrono_literals;
using test::processEventsFor;
using test::processEventsUntil;

TEST(QtRunLoop, RunsTimedAndPostedWorkInDueOrderAndCancelsIt) {
    QtRunLoop loop;
    std::vector<std::string> order;
    int ticks = 0;
    platform::Handle late;
    platform::Handle early;
    platform::Handle first;
    platform::Handle second;
    const auto scheduleAll = [&] {
        const auto start = loop.now();
        late = loop.after(30ms, [&] { order.push_back("30ms"); });
        early = loop.after(10ms, [&] { order.push_back("10ms"); });
        first = loop.post([&] { order.push_back("post 1"); });
        second = loop.post([&] { order.push_back("post 2"); });
        return loop.now() - start < 10ms;
    };
    // After a stall of 10ms between the calls the due order would rightly differ.
    while (!scheduleAll()) {
    }
    auto cancelled = loop.after(5ms, [&] { order.push_back("cancelled"); });
    cancelled.cancel();
    auto repeating = loop.every(5ms, [&] { ++ticks; });
    ASSERT_TRUE(processEventsUntil([&] { return order.size() == 4 && ticks >= 3; }));
    EXPECT_EQ(order, (std::vector<std::string>{"post 1", "post 2", "10ms", "30ms"}));

    repeating.cancel();
    const int stopped = ticks;
    processEventsFor(30);
    EXPECT_EQ(ticks, stopped);
}

TEST(QtRunLoop, WorkMayCancelItselfAndScheduleMore) {
    QtRunLoop loop;
    int runs = 0;
    bool chained = false;
    platform::Handle self;
    platform::Handle next;
    self = loop.every(1ms, [&] {
        ++runs;
        self.cancel();
        next = loop.post([&] { chained = true; });
    });
    ASSERT_TRUE(processEventsUntil([&] { return chained; }));
    processEventsFor(20);
    EXPECT_EQ(runs, 1);
}

TEST(QtRunLoop, NothingRunsAfterTheLoopIsGone) {
    bool ran = false;
    platform::Handle outliving;
    {
        QtRunLoop loop;
        outliving = loop.after(1ms, [&] { ran = true; });
        loop.postFromAnyThread([&] { ran = true; });
    }
    processEventsFor(20);
    EXPECT_FALSE(ran);
    outliving.cancel();  // harmless once the loop is gone
}

TEST(QtRunLoop, WatchesDescriptorsLevelTriggeredUntilCancelledFromInside) {
    QtRunLoop loop;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::string received;
    platform::Handle watch;
    watch = loop.watchReadable(fds[0], [&] {
        char byte = 0;
        if (::read(fds[0], &byte, 1) == 1) {
            received.push_back(byte);
        }
        if (received.size() == 3) {
            watch.cancel();
        }
    });
    // Three bytes, one read each: level-triggered, the watch fires again while data is left.
    ASSERT_EQ(::write(fds[1], "abcd", 4), 4);
    ASSERT_TRUE(processEventsUntil([&] { return received.size() >= 3; }));
    processEventsFor(30);
    EXPECT_EQ(received, "abc");
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(QtRunLoop, TakesWorkFromOtherThreadsInOrder) {
    QtRunLoop loop;
    std::vector<int> seen;
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            loop.postFromAnyThread([&seen, i] { seen.push_back(i); });
        }
    });
    worker.join();
    ASSERT_TRUE(processEventsUntil([&] { return seen.size() == 100; }));
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
    }
}

}  // namespace
}  // namespace olvane::ui

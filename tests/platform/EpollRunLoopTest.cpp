#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "platform/linux/EpollRunLoop.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

TEST(EpollRunLoop, FiresRealTimersInOrderAndRepeats) {
    EpollRunLoop loop;
    ASSERT_TRUE(loop.valid());
    std::vector<int> order;
    int ticks = 0;
    Handle late;
    Handle early;
    const auto scheduleBoth = [&] {
        const auto start = loop.now();
        late = loop.after(30ms, [&] { order.push_back(2); });
        early = loop.after(10ms, [&] { order.push_back(1); });
        return loop.now() - start < 20ms;
    };
    // After a stall of 20ms between the two calls `late` would rightly be due first.
    while (!scheduleBoth()) {
    }
    auto cancelled = loop.after(5ms, [&] { order.push_back(99); });
    cancelled.cancel();
    auto repeating = loop.every(5ms, [&] { ++ticks; });
    EXPECT_TRUE(loop.runUntil([&] { return order.size() == 2 && ticks >= 3; }, 2s));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(EpollRunLoop, DeliversReadableDescriptorsUntilTheWatchIsDropped) {
    EpollRunLoop loop;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::string received;
    Handle watch = loop.watchReadable(fds[0], [&] {
        char buffer[16];
        const auto n = ::read(fds[0], buffer, sizeof buffer);
        received.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    });
    ASSERT_TRUE(watch);
    ASSERT_EQ(::write(fds[1], "ab", 2), 2);
    EXPECT_TRUE(loop.runUntil([&] { return received == "ab"; }, 2s));
    watch.cancel();
    ASSERT_EQ(::write(fds[1], "c", 1), 1);
    EXPECT_FALSE(loop.runUntil([&] { return received.size() > 2; }, 50ms));
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(EpollRunLoop, TakesWorkFromOtherThreadsAndQuitsFromThem) {
    EpollRunLoop loop;
    std::vector<int> seen;
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            loop.postFromAnyThread([&seen, i] { seen.push_back(i); });
        }
        loop.postFromAnyThread([&] { loop.quit(); });
    });
    loop.run();
    worker.join();
    ASSERT_EQ(seen.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
    }
}

// A quit that comes before the run (a guard whose process ended already) ends it at once, and
// is spent: the next run waits for its own.
TEST(EpollRunLoop, AQuitBeforeTheRunEndsItAtOnceAndIsSpent) {
    EpollRunLoop loop;
    bool timedOut = false;
    auto deadline = loop.after(10s, [&] {
        timedOut = true;
        loop.quit();
    });
    loop.quit();
    loop.run();
    EXPECT_FALSE(timedOut);

    bool posted = false;
    loop.postFromAnyThread([&] { posted = true; });
    EXPECT_TRUE(loop.runUntil([&] { return posted; }, 10s));
}

}  // namespace
}  // namespace olvane::platform::os

// The stall guard over a real loop, with a short timeout of the test's own.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/LoopStallGuard.h"
#include "platform/linux/EpollRunLoop.h"

namespace olvane::platform {
namespace {

using namespace std::chrono_literals;

TEST(LoopStallGuard, ActsOnItsOwnThreadOnceTheLoopStopsAnswering) {
    os::EpollRunLoop loop;
    std::atomic<int> stalls = 0;
    std::promise<std::thread::id> stalled;
    auto stalledOn = stalled.get_future();
    {
        LoopStallGuard guard(loop, {.timeout = 500ms, .beatInterval = 20ms}, [&] {
            if (stalls++ == 0) {
                stalled.set_value(std::this_thread::get_id());
            }
        });
        (void)loop.runUntil([] { return false; }, 1s);
        EXPECT_EQ(stalls, 0);

        // The test now holds the loop's thread.
        ASSERT_EQ(stalledOn.wait_for(30s), std::future_status::ready);
        EXPECT_NE(stalledOn.get(), std::this_thread::get_id());
    }
    EXPECT_EQ(stalls, 1);
}

}  // namespace
}  // namespace olvane::platform

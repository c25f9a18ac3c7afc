// Xvfb's pointer clicked through XTest: the presses reach their observers, and clicks wake the
// program only while someone observes them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/X11PointerPresses.h"
#include "support/UnreadSocketBytes.h"
#include "support/X11TestWindows.h"
#include "support/XServer.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

TEST(X11PointerPresses, ClicksWakeItOnlyWhileObserved) {
    test::XServer server;
    ASSERT_TRUE(server.ready());
    EpollRunLoop loop;
    auto presses = X11PointerPresses::create(loop);
    auto hand = X11Connection::open();
    ASSERT_TRUE(presses && hand);
    const auto unread = [] { return test::unreadSocketBytes(::getpid()).value_or(1); };
    const auto clicksLeaveNothingUnread = [&] {
        for (int i = 0; i < 20; ++i) {
            test::click(*hand);
        }
        test::settle(*hand);
        return unread() == 0;
    };
    // Once: the hand's device becomes the pointer's.
    test::click(*hand);
    test::settle(*hand);
    ASSERT_TRUE(loop.runUntil([&] { return unread() == 0; }, 10s));
    EXPECT_TRUE(clicksLeaveNothingUnread());

    for (int observing = 1; observing <= 2; ++observing) {
        SCOPED_TRACE(observing);
        std::vector<PointerButton> seen;
        const auto observation = presses->observePresses([&](auto b) { seen.push_back(b); });
        ASSERT_TRUE(observation);
        test::click(*hand);
        ASSERT_TRUE(loop.runUntil([&] { return !seen.empty(); }, 10s));
        EXPECT_EQ(seen, std::vector{PointerButton::left});
    }
    // The last observer gone, nothing comes any more.
    ASSERT_TRUE(loop.runUntil([&] { return unread() == 0; }, 10s));
    EXPECT_TRUE(clicksLeaveNothingUnread());
}

}  // namespace
}  // namespace olvane::platform::os

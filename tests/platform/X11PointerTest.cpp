// Xvfb's pointer, moved through XTest.
#include <gtest/gtest.h>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/X11Pointer.h"
#include "support/X11TestWindows.h"
#include "support/XServer.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

TEST(X11Pointer, ReportsWhereThePointerIsAndEachMoveWhileObserved) {
    test::XServer server;
    ASSERT_TRUE(server.ready());
    EpollRunLoop loop;
    auto pointer = X11Pointer::create(loop);
    auto x = X11Connection::open();
    ASSERT_TRUE(pointer && x);

    int moves = 0;
    auto observation = pointer->observeMotion([&] { ++moves; });
    ASSERT_TRUE(observation);
    test::movePointer(*x, {120, 80});
    ASSERT_TRUE(loop.runUntil([&] { return moves > 0; }, 10s));
    EXPECT_EQ(pointer->pointerLocation(), (Point{120, 80}));

    observation.cancel();
    moves = 0;
    test::movePointer(*x, {300, 200});
    (void)loop.runUntil([] { return false; }, 200ms);
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(pointer->pointerLocation(), (Point{300, 200}));
}

}  // namespace
}  // namespace olvane::platform::os

// Xvfb's pointer, moved through XTest.
#include <gtest/gtest.h>

#include <future>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/ReplayedPointerPosition.h"
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
    test::settle(*x);
    // Its answer comes behind any motion the move sent it, which its next turn hands out.
    EXPECT_EQ(pointer->pointerLocation(), (Point{300, 200}));
    bool turned = false;
    const auto turn = loop.post([&] { turned = true; });
    ASSERT_TRUE(loop.runUntil([&] { return turned; }, 10s));
    EXPECT_EQ(moves, 0);
}

// A window manager may hold the server for itself a while: the replayed position goes on from
// what was replayed, and takes the server's answer once it comes.
TEST(X11Pointer, TheReplayedPositionNeverWaitsForTheServer) {
    test::XServer server;
    ASSERT_TRUE(server.ready());
    EpollRunLoop loop;
    auto pointer = X11Pointer::create(loop);
    auto hand = X11Connection::open();
    ASSERT_TRUE(pointer && hand);
    const auto handRoundTrip = [&] {
        const XcbPtr<xcb_get_input_focus_reply_t> reply(
            xcb_get_input_focus_reply(hand->get(), xcb_get_input_focus(hand->get()), nullptr));
    };
    test::movePointer(*hand, {100, 100});
    handRoundTrip();
    ReplayedPointerPosition position(pointer.get());
    EXPECT_EQ(position.current(), (Point{100, 100}));

    xcb_grab_server(hand->get());
    test::movePointer(*hand, {400, 300});
    handRoundTrip();
    position.moved(5, 0);
    auto asked = std::async(std::launch::async, [&] { return position.current(); });
    const bool answered = asked.wait_for(10s) == std::future_status::ready;
    xcb_ungrab_server(hand->get());
    hand->flush();
    ASSERT_TRUE(answered);
    EXPECT_EQ(asked.get(), (Point{105, 100}));
    ASSERT_TRUE(loop.runUntil([&] { return position.current() == Point{400, 300}; }, 10s));
}

}  // namespace
}  // namespace olvane::platform::os

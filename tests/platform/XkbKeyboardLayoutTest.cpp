// The captions of the keys under the layout that setxkbmap gives Xvfb's keyboard; what of the
// keyboard's state reaches the layout.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <unistd.h>
#include <xcb/xtest.h>

#include <cstdlib>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/XcbXkb.h"
#include "platform/linux/XkbKeyboardLayout.h"
#include "support/UnreadSocketBytes.h"
#include "support/X11TestWindows.h"
#include "support/XServer.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

bool setLayout(const std::string& layout) {
    return std::system(("setxkbmap " + layout).c_str()) == 0;
}

TEST(XkbKeyboardLayoutTest, CaptionsFollowTheLayoutInUse) {
    test::XServer server({.windowManager = true});
    ASSERT_TRUE(server.ready());
    ASSERT_TRUE(setLayout("fr"));
    EpollRunLoop loop;
    auto layout = XkbKeyboardLayout::create(loop);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->keyLabel(12), "A");
    EXPECT_EQ(layout->keyLabel(13), "Z");
    EXPECT_EQ(layout->keyLabel(41), "M");

    int changes = 0;
    const auto watch = layout->observeChanges([&] { ++changes; });
    ASSERT_TRUE(setLayout("us"));
    ASSERT_TRUE(loop.runUntil([&] { return layout->keyLabel(12) == "Q"; }, 10s));
    EXPECT_GT(changes, 0);
    EXPECT_EQ(layout->keyLabel(13), "W");
    EXPECT_EQ(layout->keyLabel(41), ";");
    EXPECT_EQ(layout->keyLabel(35), "P");
    EXPECT_FALSE(layout->keyLabel(48)) << "Tab types no caption";
    EXPECT_FALSE(layout->keyLabel(0x7FFF)) << "no such position";
}

void tapShift(X11Connection& x) {
    for (const auto type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
        xcb_test_fake_input(x.get(), static_cast<std::uint8_t>(type), KEY_LEFTSHIFT + 8,
                            XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
}

// Clicks and modifier taps change the keyboard's state, but not the group in use: they must not
// reach the layout, which the events of a group change still do.
TEST(XkbKeyboardLayoutTest, OnlyAChangeOfGroupWakesIt) {
    test::XServer server;
    ASSERT_TRUE(server.ready());
    ASSERT_TRUE(setLayout("-layout us,fr"));
    EpollRunLoop loop;
    auto layout = XkbKeyboardLayout::create(loop);
    auto typist = X11Connection::open();
    ASSERT_TRUE(layout && typist);
    const XcbPtr<xcb_xkb_use_extension_reply_t> xkb(xcb_xkb_use_extension_reply(
        typist->get(), xcb_xkb_use_extension(typist->get(), 1, 0), nullptr));
    ASSERT_TRUE(xkb && xkb->supported);
    const auto unread = [] { return test::unreadSocketBytes(::getpid()).value_or(1); };
    // Once: the typist's devices become the keyboard's and the pointer's.
    test::click(*typist);
    tapShift(*typist);
    test::settle(*typist);
    ASSERT_TRUE(loop.runUntil([&] { return unread() == 0; }, 10s));
    int changes = 0;
    const auto watch = layout->observeChanges([&] { ++changes; });

    for (int i = 0; i < 20; ++i) {
        test::click(*typist);
    }
    for (int i = 0; i < 10; ++i) {
        tapShift(*typist);
    }
    test::settle(*typist);
    EXPECT_EQ(unread(), 0u);

    xcb_xkb_latch_lock_state(typist->get(), XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1, 1, 0, 0, 0);
    test::settle(*typist);
    EXPECT_GT(unread(), 0u);
    ASSERT_TRUE(loop.runUntil([&] { return layout->keyLabel(12) == "A"; }, 10s));
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace olvane::platform::os

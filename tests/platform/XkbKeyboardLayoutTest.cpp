// The captions of the keys under the layout that setxkbmap gives Xvfb's keyboard.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/XkbKeyboardLayout.h"
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

}  // namespace
}  // namespace olvane::platform::os

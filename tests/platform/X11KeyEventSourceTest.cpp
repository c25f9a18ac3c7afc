// Raw key events of Xvfb's keyboard, pressed through XTest, reach the pause shortcuts.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <xcb/xtest.h>

#include "grayscale/HotkeyManager.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/X11KeyEventSource.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "support/XServer.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

void press(X11Connection& x, std::vector<unsigned> evdevKeys) {
    for (const auto key : evdevKeys) {
        xcb_test_fake_input(x.get(), XCB_KEY_PRESS, static_cast<std::uint8_t>(key + 8),
                            XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    for (auto key = evdevKeys.rbegin(); key != evdevKeys.rend(); ++key) {
        xcb_test_fake_input(x.get(), XCB_KEY_RELEASE, static_cast<std::uint8_t>(*key + 8),
                            XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    x.flush();
}

TEST(X11KeyEventSourceTest, ControlAltSuperAGivesTheThreeSecondPause) {
    test::XServer server({.windowManager = true});
    ASSERT_TRUE(server.ready());
    EpollRunLoop loop;
    auto keys = X11KeyEventSource::create(loop);
    auto typist = X11Connection::open();
    ASSERT_TRUE(keys && typist);
    std::vector<KeyEvent> seen;
    const auto monitor =
        keys->addGlobalKeyDownMonitor([&](const KeyEvent& e) { seen.push_back(e); });
    sim::SimAccessibilityTrust trust(true);
    HotkeyManager hotkeys(loop, *keys, trust);
    int pauses = 0;
    hotkeys.onPause3Seconds = [&] { ++pauses; };
    hotkeys.startMonitoring();

    // Without Super, A alone is an ordinary key.
    press(*typist, {KEY_LEFTCTRL, KEY_LEFTALT, KEY_Q});
    ASSERT_TRUE(loop.runUntil([&] { return !seen.empty(); }, 10s));
    EXPECT_EQ(seen.back().keyCode, 12);  // A on AZERTY: the key right of Tab
    EXPECT_EQ(seen.back().modifiers, KeyModifier::Control | KeyModifier::Option);

    press(*typist, {KEY_LEFTCTRL, KEY_LEFTALT, KEY_LEFTMETA, KEY_Q});
    ASSERT_TRUE(loop.runUntil([&] { return pauses == 1; }, 10s));
    EXPECT_EQ(seen.size(), 2u) << "modifier keys alone make no key-down";
    EXPECT_FALSE(seen.back().isRepeat);
}

}  // namespace
}  // namespace olvane::platform::os

// Raw key events of Xvfb's keyboard, pressed through XTest, reach the pause shortcuts; clicks do
// not reach the key source.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <unistd.h>
#include <xcb/xtest.h>

#include "grayscale/HotkeyManager.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/X11KeyEventSource.h"
#include "platform/linux/XcbXkb.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "support/UnreadSocketBytes.h"
#include "support/X11TestWindows.h"
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

// A click changes only the pointer buttons of the keyboard's state, which no key-down reads: it
// must not wake the program. Held and locked modifiers still reach the keys pressed with them.
TEST(X11KeyEventSourceTest, ClicksDoNotWakeItAndModifiersStillArrive) {
    test::XServer server;
    ASSERT_TRUE(server.ready());
    EpollRunLoop loop;
    auto keys = X11KeyEventSource::create(loop);
    auto typist = X11Connection::open();
    ASSERT_TRUE(keys && typist);
    std::vector<KeyEvent> seen;
    const auto monitor =
        keys->addGlobalKeyDownMonitor([&](const KeyEvent& e) { seen.push_back(e); });
    const auto unread = [] { return test::unreadSocketBytes(::getpid()).value_or(1); };
    // Once: the typist's devices become the keyboard's and the pointer's.
    test::click(*typist);
    press(*typist, {KEY_LEFTSHIFT});
    test::settle(*typist);
    ASSERT_TRUE(loop.runUntil([&] { return unread() == 0; }, 10s));

    for (int i = 0; i < 20; ++i) {
        test::click(*typist);
    }
    test::settle(*typist);
    EXPECT_EQ(unread(), 0u);

    press(*typist, {KEY_LEFTSHIFT, KEY_Q});
    // Locked by a request, as a lock-key applet does: no key of the keyboard goes down.
    const XcbPtr<xcb_xkb_use_extension_reply_t> xkb(xcb_xkb_use_extension_reply(
        typist->get(), xcb_xkb_use_extension(typist->get(), 1, 0), nullptr));
    ASSERT_TRUE(xkb && xkb->supported);
    xcb_xkb_latch_lock_state(typist->get(), XCB_XKB_ID_USE_CORE_KBD, XCB_MOD_MASK_LOCK,
                             XCB_MOD_MASK_LOCK, 0, 0, 0, 0, 0);
    press(*typist, {KEY_Q});
    press(*typist, {KEY_CAPSLOCK});
    press(*typist, {KEY_LEFTCTRL, KEY_LEFTALT, KEY_LEFTMETA, KEY_W});
    ASSERT_TRUE(loop.runUntil([&] { return seen.size() == 3; }, 10s));
    EXPECT_EQ(seen[0].modifiers, KeyModifiers(KeyModifier::Shift));
    EXPECT_EQ(seen[1].modifiers, KeyModifiers(KeyModifier::CapsLock));
    EXPECT_EQ(seen[2].modifiers, KeyModifier::Control | KeyModifier::Option | KeyModifier::Command);
}

}  // namespace
}  // namespace olvane::platform::os

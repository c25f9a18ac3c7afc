// The effects' windows under openbox on Xvfb: what the window manager makes of them, clicks that
// go through, and the stacking kept as other windows come forward.
#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/shape.h>

#include <algorithm>
#include <array>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11OverlayStacking.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/X11Properties.h"
#include "support/X11TestWindows.h"
#include "support/XServer.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

// A window the window manager leaves alone, as the fog's are.
xcb_window_t makeUnmanagedWindow(X11Connection& x, Rect frame) {
    const xcb_window_t window = xcb_generate_id(x.get());
    const std::uint32_t overrideRedirect = 1;
    xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, window, x.root(),
                      static_cast<std::int16_t>(frame.x), static_cast<std::int16_t>(frame.y),
                      static_cast<std::uint16_t>(frame.width),
                      static_cast<std::uint16_t>(frame.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT, &overrideRedirect);
    return window;
}

class X11OverlayWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.ready());
        x_ = X11Connection::open();
        ASSERT_TRUE(x_);
        stacking_ = X11OverlayStacking::create(loop_);
        ASSERT_TRUE(stacking_);
        // The window manager's doings wake nothing here: look again every few milliseconds.
        poll_ = loop_.every(20ms, [] {});
    }

    std::ptrdiff_t stackPosition(xcb_window_t window) {
        const auto order = overlay::stackingOrder(*x_);
        const auto top = overlay::topLevelOf(*x_, window);
        const auto found = top ? std::ranges::find(order, *top) : order.end();
        return found == order.end() ? -1 : found - order.begin();
    }
    bool isManaged(xcb_window_t window) {
        const auto clients = ewmh::clientListStacking(*x_);
        return clients && std::ranges::find(*clients, window) != clients->end();
    }

    test::XServer server_{{.windowManager = true}};
    EpollRunLoop loop_;
    std::unique_ptr<X11Connection> x_;
    std::unique_ptr<X11OverlayStacking> stacking_;
    Handle poll_;
};

TEST_F(X11OverlayWindowsTest, APanelIsAboveOnEveryDesktopOutOfTheTaskbarAndNeverFocused) {
    const auto target =
        test::makeWindow(*x_, {{100, 100, 400, 300}, "target", "Target", ::getpid(), {}});
    ASSERT_TRUE(loop_.runUntil([&] { return isManaged(target); }, 10s));
    test::activate(*x_, target);
    ASSERT_TRUE(loop_.runUntil([&] { return ewmh::activeWindow(*x_) == target; }, 10s));

    const xcb_window_t panel = xcb_generate_id(x_->get());
    xcb_create_window(x_->get(), XCB_COPY_FROM_PARENT, panel, x_->root(), 0, 0, 1280, 800, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    test::setProperty(*x_, panel, "WM_PROTOCOLS", XCB_ATOM_ATOM, 32,
                      std::array{x_->atom("WM_DELETE_WINDOW"), x_->atom("WM_TAKE_FOCUS")}.data(),
                      2);
    overlay::markAsOverlay(*x_, panel);
    xcb_map_window(x_->get(), panel);
    x_->flush();
    ASSERT_TRUE(loop_.runUntil([&] { return isManaged(panel); }, 10s));
    const auto keep = stacking_->keepOnTop(panel);

    const auto states = ewmh::windowStates(*x_, panel);
    for (const auto* state : {"ABOVE", "SKIP_TASKBAR", "SKIP_PAGER"}) {
        EXPECT_NE(std::ranges::find(states, state), states.end()) << state;
    }
    const auto desktop = readProperty(*x_, panel, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL);
    EXPECT_EQ(desktop ? desktop->firstWord() : std::nullopt, 0xFFFFFFFF);
    const auto protocols = readProperty(*x_, panel, "WM_PROTOCOLS", XCB_ATOM_ATOM);
    ASSERT_TRUE(protocols);
    EXPECT_EQ(protocols->words(), std::vector<std::uint32_t>{x_->atom("WM_DELETE_WINDOW")});

    // A click on the panel leaves the target in front; the target brought forward again
    // leaves the panel above it.
    test::movePointer(*x_, {640, 400});
    test::click(*x_);
    test::WindowManagerPing clicked(*x_);
    ASSERT_TRUE(loop_.runUntil([&] { return clicked.answered(); }, 10s));
    EXPECT_NE(test::inputFocus(*x_), panel);
    test::activate(*x_, target);
    EXPECT_TRUE(loop_.runUntil([&] { return ewmh::activeWindow(*x_) == target; }, 10s));
    EXPECT_GT(stackPosition(panel), stackPosition(target));
}

TEST_F(X11OverlayWindowsTest, AFogLetsClicksThroughAndFollowsItsTargetForward) {
    const auto target =
        test::makeWindow(*x_, {{100, 100, 400, 300}, "target", "Target", ::getpid(), {}});
    ASSERT_TRUE(loop_.runUntil([&] { return isManaged(target); }, 10s));
    const auto bounds = ewmh::windowBounds(*x_, target);
    ASSERT_TRUE(bounds);
    const auto fog = makeUnmanagedWindow(*x_, *bounds);
    overlay::markAsOverlay(*x_, fog);
    ASSERT_TRUE(overlay::clearInputRegion(*x_, fog));
    xcb_map_window(x_->get(), fog);
    x_->flush();
    const auto keep = stacking_->keepJustAbove(fog, target);
    ASSERT_TRUE(
        loop_.runUntil([&] { return stackPosition(fog) == stackPosition(target) + 1; }, 10s));

    const XcbPtr<xcb_shape_get_rectangles_reply_t> input(xcb_shape_get_rectangles_reply(
        x_->get(), xcb_shape_get_rectangles(x_->get(), fog, XCB_SHAPE_SK_INPUT), nullptr));
    ASSERT_TRUE(input);
    EXPECT_EQ(input->rectangles_len, 0);

    // Another window comes over both; then the target comes forward again, with its fog.
    const auto other =
        test::makeWindow(*x_, {{50, 50, 600, 500}, "other", "Other", ::getpid(), {}});
    ASSERT_TRUE(loop_.runUntil([&] { return isManaged(other); }, 10s));
    ASSERT_TRUE(loop_.runUntil([&] { return stackPosition(other) > stackPosition(fog); }, 10s));
    test::activate(*x_, target);
    ASSERT_TRUE(loop_.runUntil(
        [&] {
            return stackPosition(target) > stackPosition(other) &&
                   stackPosition(fog) == stackPosition(target) + 1;
        },
        10s));

    // With another application in front, a click on the fog reaches the target.
    const auto elsewhere =
        test::makeWindow(*x_, {{800, 500, 300, 200}, "elsewhere", "Elsewhere", ::getpid(), {}});
    ASSERT_TRUE(loop_.runUntil([&] { return isManaged(elsewhere); }, 10s));
    test::activate(*x_, elsewhere);
    ASSERT_TRUE(loop_.runUntil([&] { return ewmh::activeWindow(*x_) == elsewhere; }, 10s));
    test::movePointer(*x_, {bounds->x + 380, bounds->y + 280});
    test::click(*x_);
    EXPECT_TRUE(loop_.runUntil([&] { return ewmh::activeWindow(*x_) == target; }, 10s));
}

}  // namespace
}  // namespace olvane::platform::os

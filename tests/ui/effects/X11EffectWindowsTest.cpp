// The effects' Qt windows on X11: Xvfb with openbox and xcompmgr, Qt drawing through xcb.
// X11FogWindowTest.cpp adds the fog's tests under each window manager.
#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/shape.h>

#include <QWidget>
#include <algorithm>
#include <vector>

#include "friction/DelayPanelState.h"
#include "friction/FogEffectState.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Randr.h"
#include "support/X11TestWindows.h"
#include "ui/effects/DelayAccessOverlayView.h"
#include "ui/effects/DelayButton.h"
#include "ui/effects/QtDelayPanels.h"
#include "ui/effects/QtFogWindows.h"
#include "ui/effects/X11EffectWindowsFixture.h"

namespace olvane::ui {
namespace {

namespace os = platform::os;

// The rectangles of `window`'s bounding shape.
std::vector<xcb_rectangle_t> boundingShape(os::X11Connection& x, xcb_window_t window) {
    const os::XcbPtr<xcb_shape_get_rectangles_reply_t> shape(xcb_shape_get_rectangles_reply(
        x.get(), xcb_shape_get_rectangles(x.get(), window, XCB_SHAPE_SK_BOUNDING), nullptr));
    if (!shape) {
        return {};
    }
    const auto* first = xcb_shape_get_rectangles_rectangles(shape.get());
    return {first, first + xcb_shape_get_rectangles_rectangles_length(shape.get())};
}

TEST_F(X11EffectWindowsTest, ADelayPanelCoversItsScreenWithoutTakingTheFocus) {
    const auto screens = os::desktopScreens(*x_);
    ASSERT_FALSE(screens.empty());
    const platform::Rect screen = screens.front().frame;
    QtDelayPanels panels(effects_.get());
    int continued = 0;
    DelayPanelState state(
        "Cible", 0, 0, [] {}, [&] { ++continued; });
    auto overlay = panels.createOverlay(screen, state);
    overlay->orderFront();
    xcb_window_t panel = XCB_WINDOW_NONE;
    ASSERT_TRUE(waitFor([&] {
        panel = windowNamed("delayOverlay");
        return panel != XCB_WINDOW_NONE && isManaged(panel) &&
               stackPosition(panel) > stackPosition(target_) &&
               os::ewmh::windowBounds(*x_, panel) == screen;
    }));
    const auto states = os::ewmh::windowStates(*x_, panel);
    for (const auto* wanted : {"ABOVE", "SKIP_TASKBAR", "SKIP_PAGER"}) {
        EXPECT_NE(std::ranges::find(states, wanted), states.end()) << wanted;
    }

    test::movePointer(*x_, {screen.x + screen.width / 10, screen.y + screen.height / 2});
    test::click(*x_);
    test::WindowManagerPing clicked(*x_);
    ASSERT_TRUE(waitFor([&] { return clicked.answered(); }));
    EXPECT_NE(test::inputFocus(*x_), panel);
    test::activate(*x_, target_);
    EXPECT_TRUE(waitFor([&] { return os::ewmh::activeWindow(*x_) == target_; }));
    EXPECT_GT(stackPosition(panel), stackPosition(target_));

    // "Continuer", in the middle of the screen, takes a click there.
    const auto* view = qobject_cast<DelayAccessOverlayView*>(QWidget::find(panel));
    ASSERT_TRUE(view);
    const DelayButton* button = view->continueButton();
    ASSERT_TRUE(waitFor([&] { return button->isVisible() && button->appearance() == 1.0; }));
    const QPoint centre = button->mapTo(view, button->rect().center());
    const platform::Point onButton{screen.x + centre.x() * ratio(),
                                   screen.y + centre.y() * ratio()};
    EXPECT_NEAR(onButton.x, screen.x + screen.width / 2, 2 * ratio());
    test::movePointer(*x_, onButton);
    test::click(*x_);
    EXPECT_TRUE(waitFor([&] { return continued == 1; }));
}

// Last: the run's other tests want the compositor.
TEST_F(X11EffectWindowsTest, WithoutACompositorTheFogsHolesCloseAlthoughNoEventComes) {
    ASSERT_TRUE(server->stopCompositor());
    QtFogWindows fogs(effects_.get());
    FogEffectState state(100, 0.98, 100, target_);
    auto overlay = fogs.createOverlay({100, 100, 400, 300}, state);
    overlay->orderFront();
    xcb_window_t fog = XCB_WINDOW_NONE;
    ASSERT_TRUE(waitFor([&] {
        fog = windowNamed("fogOverlay");
        return fog != XCB_WINDOW_NONE && boundingShape(*x_, fog).size() == 1;
    }));

    // A frame of a hole that fills in, made on a timer as the fog's frames are: nothing from the
    // server wakes Qt meanwhile, so the shape must reach it on its own.
    const auto frame = [&](double opacity) {
        bool done = false;
        const auto timer = loop_.after(std::chrono::milliseconds(1), [&] {
            state.editTrail([&](auto& trail) {
                trail.assign(1, TrailPoint{overlay->localPoint({300, 250}), 0, opacity});
            });
            done = true;
        });
        return waitFor([&] { return done; });
    };
    ASSERT_TRUE(frame(1.0));
    EXPECT_TRUE(waitFor([&] { return boundingShape(*x_, fog).size() > 1; }));
    ASSERT_TRUE(frame(0.4));  // under half: the hole is gone from the shape
    EXPECT_TRUE(waitFor([&] { return boundingShape(*x_, fog).size() == 1; }));
}

}  // namespace
}  // namespace olvane::ui

int main(int argc, char** argv) {
    return olvane::ui::runOnX11(argc, argv, {.windowManager = true, .compositor = true});
}

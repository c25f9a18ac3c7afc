#pragma once

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "friction/FogEffectState.h"
#include "platform/Geometry.h"
#include "platform/OverlayWindow.h"
#include "platform/linux/X11Connection.h"
#include "support/XServer.h"
#include "ui/UiTestSupport.h"
#include "ui/effects/QtFogWindows.h"
#include "ui/effects/ScreenTimeline.h"
#include "ui/effects/X11EffectWindows.h"
#include "ui/foundation/QtRunLoop.h"

namespace olvane::ui {

// The server of the whole run and its window manager, started by runOnX11().
extern test::XServer* server;
extern test::XServer::WindowManager windowManager;

// Qt's keyboard library hands strndup() names that are not NUL-terminated, which strndup
// allows; the sanitizer's strict string check, read when the process starts, would stop the
// test for it: the test starts again without it, and this returns only where it need not.
void startWithoutStrictStrings(char** argv);

// Starts the X server with its window manager, then Qt drawing through xcb on it, and runs the
// tests of the executable; with `--dpi=N`, on a desktop scaled to N/96.
int runOnX11(int argc, char** argv, test::XServer::Options options);

// A fog over the target at `bounds`, shown as the fog effect shows it.
struct ShownFog {
    ShownFog(X11EffectWindows& effects, xcb_window_t target, const platform::Rect& bounds)
        : fogs(&effects),
          state(150, 0.98, 100, target),
          overlay(fogs.createOverlay(bounds, state)) {
        overlay->orderFront();
    }
    QtFogWindows fogs;
    FogEffectState state;
    std::unique_ptr<platform::OverlayWindow> overlay;
};

// A target window, managed and in front, and the effects' X11 side over Qt's connection.
class X11EffectWindowsTest : public ::testing::Test {
  public:
    // What the screen shows, for the looks of the tests.
    bool isManaged(xcb_window_t window);
    // Of the window's top-level among those of the windows shown, bottom to top; -1 when not
    // shown.
    std::ptrdiff_t stackPosition(xcb_window_t window);
    // Where the window manager has the window, in the server's pixels.
    std::optional<platform::Rect> boundsOf(xcb_window_t window);
    // What the screen shows at `point` (0xRRGGBB), compositor's work included.
    std::uint32_t pixelAt(platform::Point point);
    // The visible top-level Qt window of that object name.
    static xcb_window_t windowNamed(const char* name);

  protected:
    void SetUp() override;

    // A window manager starved by a busy machine may draw a frame a second or more apart: a wait
    // gives up only after a minute.
    static constexpr int kPatienceMs = 60000;

    template <typename Predicate>
    bool waitFor(Predicate predicate) {
        return test::processEventsUntil(predicate, kPatienceMs);
    }
    // Whether `look` comes to hold within the wait, then holds all along `holdMs`, what it keeps
    // holding from the first look on; else each state seen over the wait, when first and last,
    // and for how long.
    ::testing::AssertionResult showsThenHolds(const std::function<Look()>& look, int holdMs = 0);
    // Once the server has handled what Qt asked of it.
    static void syncQt();
    // Qt's device pixel ratio.
    static qreal ratio();
    // Fills the window (one of the test's) with a colour of 0xRRGGBB.
    void paint(xcb_window_t window, std::uint32_t rgb);

    QtRunLoop loop_;
    std::unique_ptr<platform::os::X11Connection> x_;
    std::unique_ptr<X11EffectWindows> effects_;
    xcb_window_t target_ = XCB_WINDOW_NONE;
};

}  // namespace olvane::ui

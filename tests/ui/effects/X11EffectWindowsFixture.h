#pragma once

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <memory>

#include "platform/Geometry.h"
#include "platform/linux/X11Connection.h"
#include "support/XServer.h"
#include "ui/UiTestSupport.h"
#include "ui/effects/X11EffectWindows.h"
#include "ui/foundation/QtRunLoop.h"

namespace olvane::ui {

// The server of the whole run and its window manager, started by runOnX11().
extern test::XServer* server;
extern test::XServer::WindowManager windowManager;

// Starts the X server with its window manager, then Qt drawing through xcb on it, and runs the
// tests of the executable; with `--dpi=N`, on a desktop scaled to N/96.
int runOnX11(int argc, char** argv, test::XServer::Options options);

// A target window, managed and in front, and the effects' X11 side over Qt's connection.
class X11EffectWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override;

    template <typename Predicate>
    bool waitFor(Predicate predicate) {
        return test::processEventsUntil(predicate, 10000);
    }
    // Whether it holds all along `ms` of events.
    template <typename Predicate>
    bool keepsHolding(Predicate predicate, int ms) {
        return !test::processEventsUntil([&] { return !predicate(); }, ms);
    }
    bool isManaged(xcb_window_t window);
    // Once the server has handled what Qt asked of it.
    static void syncQt();
    // Of the window's top-level among those of the windows shown, bottom to top; -1 when not
    // shown.
    std::ptrdiff_t stackPosition(xcb_window_t window);
    // Qt's device pixel ratio.
    static qreal ratio();
    // What the screen shows at `point` (0xRRGGBB), compositor's work included.
    std::uint32_t pixelAt(platform::Point point);
    // Fills the window (one of the test's) with a colour of 0xRRGGBB.
    void paint(xcb_window_t window, std::uint32_t rgb);
    // The visible top-level Qt window of that object name.
    static xcb_window_t windowNamed(const char* name);

    QtRunLoop loop_;
    std::unique_ptr<platform::os::X11Connection> x_;
    std::unique_ptr<X11EffectWindows> effects_;
    xcb_window_t target_ = XCB_WINDOW_NONE;
};

}  // namespace olvane::ui

#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>

#include <string>

#include "platform/Geometry.h"
#include "platform/linux/X11Connection.h"

namespace olvane::test {

// A top-level window as an application makes it, placed where the test says (WM_NORMAL_HINTS
// with a user position), mapped.
struct TestWindowTraits {
    platform::Rect frame;
    std::string instance;
    std::string windowClass;
    pid_t pid = 0;
    std::string gtkApplicationId;
    // _NET_WM_WINDOW_TYPE without its prefix ("DESKTOP"); none when empty.
    std::string windowType = {};
};
xcb_window_t makeWindow(platform::os::X11Connection& x, const TestWindowTraits& traits);

void setProperty(platform::os::X11Connection& x, xcb_window_t window, const char* name,
                 xcb_atom_t type, std::uint8_t format, const void* data, std::size_t count);

// Asks the window manager to bring the window forward, as a pager does.
void activate(platform::os::X11Connection& x, xcb_window_t window);

// The pointer moves to `point` of the root window, through XTest.
void movePointer(platform::os::X11Connection& x, platform::Point point);
// A left click where the pointer is, through XTest.
void click(platform::os::X11Connection& x);
// The window that has the keyboard focus (XCB_WINDOW_NONE, the root or PointerRoot for none).
xcb_window_t inputFocus(platform::os::X11Connection& x);

// Asks the window manager the extents of its frames for a window of ours it has never seen. It
// answers only after it has handled all that reached it before (a click, a request): once
// answered(), what it did of those is done.
class WindowManagerPing {
  public:
    explicit WindowManagerPing(platform::os::X11Connection& x);
    ~WindowManagerPing();
    WindowManagerPing(const WindowManagerPing&) = delete;
    WindowManagerPing& operator=(const WindowManagerPing&) = delete;

    bool answered();

  private:
    platform::os::X11Connection& x_;
    xcb_window_t window_;
};

// Once the server has handled all that `x` sent, and written out what it made of it; what it
// sent `x` itself is read away.
void settle(platform::os::X11Connection& x);

}  // namespace olvane::test

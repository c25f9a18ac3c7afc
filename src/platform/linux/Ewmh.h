#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// What the window manager says of the session's windows (the EWMH root and window properties).
namespace ewmh {

// Whether an EWMH window manager runs (it names its check window on the root).
bool hasWindowManager(X11Connection& x);

// The name the window manager gives itself ("Mutter", "GNOME Shell", "KWin", "Openbox"); absent
// when none runs or it gives none.
std::optional<std::string> windowManagerName(X11Connection& x);

// The managed windows, bottom to top; absent when no EWMH window manager runs.
std::optional<std::vector<xcb_window_t>> clientListStacking(X11Connection& x);
// The focused window; absent when none (or the window manager does not say).
std::optional<xcb_window_t> activeWindow(X11Connection& x);

// The process that owns the window: _NET_WM_PID, else the client's process as the server knows
// it (X-Resource), which also holds for windows of a sandbox whose PIDs are its own.
std::optional<pid_t> windowPid(X11Connection& x, xcb_window_t window);

// The window's frame in root coordinates, absent when the window is gone.
std::optional<Rect> windowBounds(X11Connection& x, xcb_window_t window);

// The _NET_WM_WINDOW_TYPE and _NET_WM_STATE atoms, by name without their prefix ("NORMAL",
// "DOCK", "HIDDEN", "ABOVE"…).
std::vector<std::string> windowTypes(X11Connection& x, xcb_window_t window);
std::vector<std::string> windowStates(X11Connection& x, xcb_window_t window);

// WM_CLASS: the instance name, then the class name; empty when absent.
std::vector<std::string> windowClass(X11Connection& x, xcb_window_t window);

// Whether the window shows on the current desktop (or on all of them).
bool onCurrentDesktop(X11Connection& x, xcb_window_t window);

// Asks the window manager to close the window, as its close button does.
void requestClose(X11Connection& x, xcb_window_t window);
// Asks the window manager, as a pager does, to stack the window right below `sibling`.
void restackJustBelow(X11Connection& x, xcb_window_t window, xcb_window_t sibling);
// Asks the window manager, as a pager does, to put the window above every other of its layer.
void raiseAsPager(X11Connection& x, xcb_window_t window);
// Asks the window manager to give `window` the focus and bring it forward, for the application
// whose window `requestor` is, at `time` (that of the user's action).
void requestActivation(X11Connection& x, xcb_window_t window, xcb_timestamp_t time,
                       xcb_window_t requestor);
// Asks the window manager to take a state (without its prefix: "DEMANDS_ATTENTION") off the
// window, for the application that owns it.
void removeState(X11Connection& x, xcb_window_t window, const std::string& state);

}  // namespace ewmh
}  // namespace olvane::platform::os

#pragma once

#include <xcb/xcb.h>

#include <optional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// What the effects' windows (fog and waiting panels) are to the X server and the window
// manager.
namespace overlay {

// Set before the window is first shown: kept above the other windows, on every desktop, out of
// the taskbar and the pager, and never given the focus (no input hint, no WM_TAKE_FOCUS), so the
// application in front stays in front.
void markAsOverlay(X11Connection& x, xcb_window_t window);

// Whether the window manager draws every unmanaged window above all managed ones, whatever the
// stacking order says (mutter, which GNOME Shell is, and KWin): a window kept right above another
// must then be one it manages, transient for that other. Elsewhere (openbox) the frame it puts a
// managed window in would take the clicks that the window lets through.
bool unmanagedWindowsStayOnTop(X11Connection& x);

// Whether a fog is offered the focus of the clicks the window manager takes for its own: under
// Xwayland the compositor sees no input shape and takes a click through the fog for a click on
// it, which it answers by offering the fog the focus (WM_TAKE_FOCUS), to be passed on to the
// target; elsewhere the click goes to the target, and nothing is ever offered.
enum class ClickFocus { neverOffered, offered };

// Set before the fog's managed window is first shown, which is made transient for the window it
// covers: kept by the window manager right above that one and below every window brought in
// front of it, out of the taskbar, the pager and the window switcher, never given the focus. An
// ordinary window, which KWin does not hide while another application is in front as it does a
// utility window.
void markAsFog(X11Connection& x, xcb_window_t window, ClickFocus clicks);

// Drawn fully transparent by the compositor until revealed: a managed window is first shown
// where the window manager chooses, over windows it must stay under, until it is restacked.
void conceal(X11Connection& x, xcb_window_t window);
void reveal(X11Connection& x, xcb_window_t window);

// Clicks and the pointer go through to the windows below: an empty input region.
bool clearInputRegion(X11Connection& x, xcb_window_t window);

// The window's top-level ancestor: the frame the window manager put it in, or the window itself
// when unmanaged; absent when it is gone.
std::optional<xcb_window_t> topLevelOf(X11Connection& x, xcb_window_t window);

// The root window's children, bottom to top.
std::vector<xcb_window_t> stackingOrder(X11Connection& x);

// Moves and resizes a top-level window to `frame`, in the server's pixels; the window manager
// decides for a window it manages.
void place(X11Connection& x, xcb_window_t window, const Rect& frame);

// Restacks `window` (a child of the root) right above `sibling`, another child of the root.
void stackJustAbove(X11Connection& x, xcb_window_t window, xcb_window_t sibling);
// Raises the window; the window manager decides for a window it manages.
void raise(X11Connection& x, xcb_window_t window);

}  // namespace overlay
}  // namespace olvane::platform::os

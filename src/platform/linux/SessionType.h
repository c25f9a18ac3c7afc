#pragma once

namespace olvane::platform::os {

// Whether the desktop session is a Wayland one (WAYLAND_DISPLAY, or XDG_SESSION_TYPE=wayland),
// in which an X11 program runs through Xwayland and sees no other client's windows.
bool isWaylandSession();

}  // namespace olvane::platform::os

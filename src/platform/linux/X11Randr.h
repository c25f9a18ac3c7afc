#pragma once

#include <xcb/randr.h>

#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/WindowServer.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// One RandR output (a connector) of the root window's screen.
struct RandrOutput {
    xcb_randr_output_t id = 0;
    std::string name;
    bool connected = false;
    bool primary = false;
    // Where it shows the desktop; empty when it shows nothing (no CRTC).
    Rect frame;
};

// Whether the server speaks RandR 1.3 or later (output properties, primary output).
bool hasRandr(X11Connection& x);

// The outputs of the screen, in the server's order.
std::vector<RandrOutput> randrOutputs(X11Connection& x);

// The screens showing the desktop, the primary one first; the root window's size when RandR
// names none.
std::vector<Screen> desktopScreens(X11Connection& x);

}  // namespace olvane::platform::os

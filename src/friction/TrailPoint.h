#pragma once

#include "platform/Geometry.h"

namespace olvane {

// Target windows and overlays are placed in global display coordinates, the window server's
// pixels: origin at the top left of the primary display, y growing downwards. A trail point is
// in its overlay's own coordinates, those the fog is drawn in and its radius is given in: origin
// at the overlay's top left, y downwards, in points (a device pixel at 100 %, two at 200 %).
// The overlay window alone converts (OverlayWindow::localPoint).

// One point of the wiped path.
struct TrailPoint {
    platform::Point position;
    // Seconds on the monotonic clock, when the point was made.
    double timestamp = 0;
    // The hole's strength: 1 when made, down to 0 as the fog fills in again.
    double opacity = 1;

    bool operator==(const TrailPoint&) const = default;
};

}  // namespace olvane

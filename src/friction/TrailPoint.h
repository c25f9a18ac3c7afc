#pragma once

#include "platform/Geometry.h"

namespace olvane {

// Every fog coordinate is in the X11 way, decided once for the whole fog: global display
// coordinates with the origin at the top left of the primary display and y growing downwards,
// as the window list gives the target windows and as overlay windows are placed. A trail point
// is in its overlay's own coordinates: origin at the overlay's top left, y downwards. No
// conversion happens anywhere.

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

#pragma once

#include <cstddef>
#include <vector>

#include "friction/TrailPoint.h"

// How the pointer's path becomes the holes in the fog.
namespace olvane::fog {

// Appends a sample at `position`. After a long jump from the last point, points are filled in
// between so that no two are further apart than a fifth of the radius; then the oldest points
// go until at most `maxPoints` are left.
void appendSample(std::vector<TrailPoint>& trail, platform::Point position, double now,
                  double clearRadius, std::size_t maxPoints);

// Each point's opacity falls linearly from 1 to 0 over `regenerationDuration` seconds; points
// at 0 are dropped, the others keep their order.
void fade(std::vector<TrailPoint>& trail, double now, double regenerationDuration);

}  // namespace olvane::fog

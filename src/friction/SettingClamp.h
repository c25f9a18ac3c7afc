#pragma once

#include <algorithm>
#include <cmath>

namespace olvane {

// A user's custom effect value brought within its limits; a value that is not a finite number
// takes the lower limit.
inline double clampedSetting(double value, double lower, double upper) {
    return std::isfinite(value) ? std::clamp(value, lower, upper) : lower;
}

}  // namespace olvane

#pragma once

#include "model/RedListConfig.h"
#include "model/TurtleIntensity.h"

namespace olvane {

// The turtle's divisors: pointer movement and scrolling are divided by them.
struct TurtleFactors {
    static constexpr double kMinMouse = 2.0;
    static constexpr double kMaxMouse = 30.0;
    static constexpr double kMinScroll = 1.5;
    static constexpr double kMaxScroll = 10.0;

    double mouse = 4.0;
    double scroll = 4.0;

    // The preset of an intensity; the custom row stands until the target's own factors come.
    static TurtleFactors preset(TurtleIntensity intensity);
    // A custom target's factors for each one it never stored: what its callers apply right
    // after activation, and what the configuration panel and the editor start from.
    static constexpr TurtleFactors unstoredCustom() { return {4.0, 4.0}; }
    // The target's custom factors as stored (not clamped), each missing one from
    // unstoredCustom().
    static TurtleFactors storedCustom(const RedListConfig& target);
    // A user's factors within their limits (2 to 30, 1.5 to 10; not a finite number: the lower).
    static TurtleFactors custom(double mouse, double scroll);

    bool operator==(const TurtleFactors&) const = default;
};

}  // namespace olvane

#pragma once

#include <cstddef>

#include "model/FogIntensity.h"
#include "model/RedListConfig.h"

namespace olvane {

// The fog's look: the holes' radius, how long a hole takes to fill in, the fog's opacity.
struct FogSettings {
    static constexpr double kMinClearRadius = 20;
    static constexpr double kMaxClearRadius = 500;
    static constexpr double kMinRegeneration = 0.1;
    static constexpr double kMaxRegeneration = 60;
    static constexpr double kMinOpacity = 0.01;
    static constexpr double kMaxOpacity = 1.0;

    double clearRadius = 50;          // points
    double regenerationDuration = 1;  // seconds
    double fogOpacity = 0.99;

    static FogSettings preset(FogIntensity intensity);
    // A custom target's fog for each value it never stored: the effect applies it, the
    // configuration panel and the editor start from it.
    static constexpr FogSettings unstoredCustom() { return {50, 1.0, 0.99}; }
    // The target's custom values as stored (not clamped), each missing one from
    // unstoredCustom().
    static FogSettings storedCustom(const RedListConfig& target);
    // A user's values within their limits; a value that is not a finite number takes the lower.
    static FogSettings custom(double clearRadius, double regenerationDuration, double opacity);

    // How many trail points an overlay keeps at most: fewer for large holes and short
    // regenerations, from 500 to 4000.
    std::size_t maxTrailPoints() const;

    bool operator==(const FogSettings&) const = default;
};

}  // namespace olvane

#include "friction/FogSettings.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "friction/SettingClamp.h"

namespace olvane {

FogSettings FogSettings::preset(FogIntensity intensity) {
    static constexpr std::array<FogSettings, 5> presets{{
        {350, 15, 0.97},  // light
        {150, 8, 0.98},   // medium
        {120, 4, 0.99},   // strong
        {80, 2, 0.99},    // intense
        unstoredCustom(),
    }};
    return presets[static_cast<std::size_t>(intensity)];
}

FogSettings FogSettings::storedCustom(const RedListConfig& target) {
    const FogSettings unstored = unstoredCustom();
    return {target.customFogClearRadius.value_or(unstored.clearRadius),
            target.customFogRegenerationDuration.value_or(unstored.regenerationDuration),
            target.customFogOpacity.value_or(unstored.fogOpacity)};
}

FogSettings FogSettings::custom(double clearRadius, double regenerationDuration, double opacity) {
    return {clampedSetting(clearRadius, kMinClearRadius, kMaxClearRadius),
            clampedSetting(regenerationDuration, kMinRegeneration, kMaxRegeneration),
            clampedSetting(opacity, kMinOpacity, kMaxOpacity)};
}

std::size_t FogSettings::maxTrailPoints() const {
    // The drawing's cost grows with the area the holes cover; a trail never holds more points
    // than can live through one regeneration.
    const double byArea = std::floor(2.45e8 / (4 * clearRadius * clearRadius));
    const double byLifetime = std::floor(regenerationDuration * 250);
    return static_cast<std::size_t>(std::clamp(std::min(byArea, byLifetime), 500.0, 4000.0));
}

}  // namespace olvane

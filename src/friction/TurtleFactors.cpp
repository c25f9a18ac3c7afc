#include "friction/TurtleFactors.h"

#include <array>

#include "friction/SettingClamp.h"

namespace olvane {

TurtleFactors TurtleFactors::preset(TurtleIntensity intensity) {
    static constexpr std::array<TurtleFactors, 5> presets{{
        {4.0, 1.5},   // light
        {8.0, 2.0},   // medium
        {15.0, 3.0},  // strong
        {25.0, 5.0},  // extreme
        {3.0, 2.0},   // custom
    }};
    return presets[static_cast<std::size_t>(intensity)];
}

TurtleFactors TurtleFactors::storedCustom(const RedListConfig& target) {
    const TurtleFactors unstored = unstoredCustom();
    return {target.customTurtleMouseFactor.value_or(unstored.mouse),
            target.customTurtleScrollFactor.value_or(unstored.scroll)};
}

TurtleFactors TurtleFactors::custom(double mouse, double scroll) {
    return {clampedSetting(mouse, kMinMouse, kMaxMouse),
            clampedSetting(scroll, kMinScroll, kMaxScroll)};
}

}  // namespace olvane

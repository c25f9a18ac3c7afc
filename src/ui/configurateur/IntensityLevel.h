#pragma once

#include <string_view>

#include "model/RawValueEnum.h"
#include "model/RedListConfig.h"

namespace olvane {

// The three strengths the wizard offers per Contrepoids target instead of fog, turtle and delay
// one by one. Never stored: the level is read back from a target's values at each opening.
enum class IntensityLevel { doux, equilibre, serieux };

template <>
struct RawValues<IntensityLevel> {
    static constexpr std::array<std::string_view, 3> names{"doux", "equilibre", "serieux"};
    static constexpr bool listsAllCases = true;
};

// "Doux", "Équilibré", "Intense".
std::string_view label(IntensityLevel level);

// The level of a stored target, from its fog and turtle intensities and its delay alone; every
// other combination, custom values included, reads as "equilibre".
IntensityLevel intensityLevel(const RedListConfig& config);

// `config` with the three effects on at the level's values and no custom value.
RedListConfig withLevelEffects(RedListConfig config, IntensityLevel level);

}  // namespace olvane

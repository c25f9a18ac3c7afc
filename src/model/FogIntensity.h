#pragma once

#include "model/RawValueEnum.h"

namespace olvane {

// The fog's strength; custom means the target's own custom values apply.
enum class FogIntensity { light, medium, strong, intense, custom };

template <>
struct RawValues<FogIntensity> {
    static constexpr std::array<std::string_view, 5> names{"light", "medium", "strong", "intense",
                                                           "custom"};
    static constexpr bool listsAllCases = true;
};

}  // namespace olvane

#pragma once

#include "model/RawValueEnum.h"

namespace olvane {

// The turtle's slowing; custom means the target's own custom factors apply.
enum class TurtleIntensity { light, medium, strong, extreme, custom };

template <>
struct RawValues<TurtleIntensity> {
    static constexpr std::array<std::string_view, 5> names{"light", "medium", "strong", "extreme",
                                                           "custom"};
    static constexpr bool listsAllCases = true;
};

}  // namespace olvane

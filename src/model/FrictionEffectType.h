#pragma once

#include "model/RawValueEnum.h"

namespace olvane {

// A friction effect; its raw values are stored and exported as they are.
enum class FrictionEffectType { fog, turtle, delay };

template <>
struct RawValues<FrictionEffectType> {
    static constexpr std::array<std::string_view, 3> names{"fog", "turtle", "delay"};
    static constexpr bool listsAllCases = true;
};

}  // namespace olvane

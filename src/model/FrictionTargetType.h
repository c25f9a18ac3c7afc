#pragma once

#include "model/RawValueEnum.h"

namespace olvane {

// What a friction target is: an application or a website.
enum class FrictionTargetType { app, website };

template <>
struct RawValues<FrictionTargetType> {
    static constexpr std::array<std::string_view, 2> names{"app", "website"};
    static constexpr bool listsAllCases = false;
};

}  // namespace olvane

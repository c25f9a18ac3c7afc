#pragma once

#include "model/RawValueEnum.h"

namespace olvane {

// A platform that the content rules sanitise.
enum class Platform { youtube, instagram, linkedin, facebook };

template <>
struct RawValues<Platform> {
    static constexpr std::array<std::string_view, 4> names{"youtube", "instagram", "linkedin",
                                                           "facebook"};
    static constexpr bool listsAllCases = true;
};

}  // namespace olvane

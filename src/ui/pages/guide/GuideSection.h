#pragma once

#include "model/RawValueEnum.h"

namespace olvane::ui {

// The guide's four cards, in page order.
enum class GuideSection { idea, features, goFurther, about };

}  // namespace olvane::ui

namespace olvane {

template <>
struct RawValues<ui::GuideSection> {
    static constexpr std::array<std::string_view, 4> names{"idea", "features", "goFurther",
                                                           "about"};
    static constexpr bool listsAllCases = true;
};

}  // namespace olvane

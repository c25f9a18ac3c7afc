#pragma once

#include "model/RawValueEnum.h"

namespace olvane::ui {

// The two lists of the exception and target sections; the raw value is the tab's title.
enum class ExceptionTab { apps, websites };

}  // namespace olvane::ui

namespace olvane {

template <>
struct RawValues<ui::ExceptionTab> {
    static constexpr std::array<std::string_view, 2> names{"Applications", "Sites web"};
    static constexpr bool listsAllCases = true;
};

}  // namespace olvane

#pragma once

#include "model/RawValueEnum.h"

namespace olvane {

// The pages of the main window, in sidebar order. The sidebar maps each to its title and symbol.
enum class NavigationItem {
    accueil,
    configurateur,
    guide,
    grayscaleFilter,
    frictionEffects,
    contentFilter,
    extensions,
    settings,
};

template <>
struct RawValues<NavigationItem> {
    static constexpr std::array<std::string_view, 8> names{"accueil",    "configurateur", "guide",
                                                           "grayscale",  "friction",      "content",
                                                           "extensions", "settings"};
    static constexpr bool listsAllCases = true;
};

}  // namespace olvane

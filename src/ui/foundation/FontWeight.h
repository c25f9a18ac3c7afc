#pragma once

#include <string_view>

namespace olvane::ui {

enum class FontWeight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };

// The face of the Inter24pt family that the theme uses for a weight.
constexpr std::string_view interFaceName(FontWeight weight) {
    switch (weight) {
        case FontWeight::ultraLight:
        case FontWeight::thin:
        case FontWeight::light:
        case FontWeight::regular:
            return "Inter24pt-Regular";
        case FontWeight::medium:
            return "Inter24pt-Medium";
        case FontWeight::semibold:
            return "Inter24pt-SemiBold";
        case FontWeight::bold:
            return "Inter24pt-Bold";
        case FontWeight::heavy:
        case FontWeight::black:
            return "Inter24pt-Black";
    }
    return "Inter24pt-Regular";
}

}  // namespace olvane::ui

#include "friction/EffectLabels.h"

#include <array>

namespace olvane {

std::string_view label(FogIntensity intensity) {
    static constexpr std::array<std::string_view, 5> labels{"Légère", "Moyenne", "Forte", "Intense",
                                                            "Personnalisée"};
    return labels[static_cast<std::size_t>(intensity)];
}

std::string_view label(TurtleIntensity intensity) {
    static constexpr std::array<std::string_view, 5> labels{"Légère", "Moyenne", "Forte", "Extrême",
                                                            "Personnalisée"};
    return labels[static_cast<std::size_t>(intensity)];
}

std::string_view label(FrictionEffectType effect) {
    static constexpr std::array<std::string_view, 3> labels{"Buée", "Tortue", "Délai"};
    return labels[static_cast<std::size_t>(effect)];
}

}  // namespace olvane

#pragma once

#include <string_view>

#include "model/FogIntensity.h"
#include "model/FrictionEffectType.h"
#include "model/TurtleIntensity.h"

namespace olvane {

// The French names of the intensities and effects in log lines: "Légère", "Moyenne"…
std::string_view label(FogIntensity intensity);
std::string_view label(TurtleIntensity intensity);
// "Buée", "Tortue", "Délai".
std::string_view label(FrictionEffectType effect);

}  // namespace olvane

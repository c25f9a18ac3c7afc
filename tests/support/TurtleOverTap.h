#pragma once

#include "friction/TurtleEffectService.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimKeyEventSource.h"

namespace olvane::test {

// The turtle over a real pointer input, trusted, with keys the test presses itself.
struct TurtleOverTap {
    TurtleOverTap(platform::RunLoop& loop, platform::EventTap& input)
        : service({loop, input, keys, trust, {}, ActiveEffects(effects)}) {}

    platform::sim::SimKeyEventSource keys;
    platform::sim::SimAccessibilityTrust trust{true};
    platform::Observable<ActiveEffects::Set> effects;
    TurtleEffectService service;
};

}  // namespace olvane::test

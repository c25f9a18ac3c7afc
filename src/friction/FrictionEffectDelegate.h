#pragma once

namespace olvane {

class FogEffectService;

// Told when an effect ends by itself being switched off.
class FrictionEffectDelegate {
  public:
    virtual ~FrictionEffectDelegate() = default;
    virtual void effectDidEnd(const FogEffectService& effect) = 0;
};

}  // namespace olvane

#pragma once

#include <set>

#include "model/FrictionEffectType.h"
#include "platform/Observable.h"

namespace olvane {

// The friction effects applied right now, as the interface shows them: the composition root
// hands over `AppState::activeFrictionEffects` (the friction engine does not depend on the
// application shell that owns it).
class ActiveEffects {
  public:
    using Set = std::set<FrictionEffectType>;

    explicit ActiveEffects(platform::Observable<Set>& effects) : effects_(effects) {}

    void insert(FrictionEffectType effect) {
        auto next = effects_.get();
        next.insert(effect);
        effects_.set(std::move(next));
    }
    void remove(FrictionEffectType effect) {
        auto next = effects_.get();
        next.erase(effect);
        effects_.set(std::move(next));
    }
    void clear() { effects_.set({}); }
    bool contains(FrictionEffectType effect) const { return effects_.get().contains(effect); }

  private:
    platform::Observable<Set>& effects_;
};

}  // namespace olvane

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "friction/TrailPoint.h"
#include "platform/Handle.h"
#include "platform/Observable.h"
#include "platform/Signal.h"

namespace olvane {

// What one fog overlay draws: white at `fogOpacity` over the whole window, with a soft hole of
// `clearRadius` at each trail point. The overlay's window observes it and redraws on change.
class FogEffectState {
  public:
    FogEffectState(double radius, double opacity, std::size_t trailCapacity,
                   std::uint32_t target = 0)
        : targetWindowID(target), clearRadius(radius), fogOpacity(opacity) {
        trail_.reserve(trailCapacity);
    }
    FogEffectState(const FogEffectState&) = delete;
    FogEffectState& operator=(const FogEffectState&) = delete;

    // The window server's number of the window the overlay covers; 0 when unknown.
    const std::uint32_t targetWindowID;
    // The last pointer position over the overlay, in its own coordinates.
    platform::Observable<platform::Point> mousePosition;
    platform::Observable<double> clearRadius;
    platform::Observable<double> fogOpacity;

    // Oldest first.
    const std::vector<TrailPoint>& trail() const { return trail_; }
    // Every edit notifies, even one that leaves the same points.
    template <typename Edit>
    void editTrail(Edit&& edit) {
        edit(trail_);
        trailChanged_.emit();
    }
    platform::Handle observeTrail(std::function<void()> observer) {
        return trailChanged_.connect(std::move(observer));
    }

  private:
    std::vector<TrailPoint> trail_;
    platform::Signal<> trailChanged_;
};

}  // namespace olvane

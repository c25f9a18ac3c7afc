#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

#include "friction/FogEffectState.h"
#include "friction/FogOverlay.h"
#include "friction/FogSettings.h"
#include "friction/FrictionEffectDelegate.h"
#include "friction/TargetWindow.h"
#include "model/FogIntensity.h"
#include "model/FrictionEffectType.h"
#include "platform/Clock.h"
#include "platform/FrameClock.h"
#include "platform/Handle.h"
#include "platform/OverlayWindow.h"
#include "platform/PointerLocation.h"

namespace olvane {

// The fog: an almost opaque white overlay over each window of a target, which the pointer wipes
// away locally; each hole fills in again over a few seconds. A frame clock paces the trail.
class FogEffectService {
  public:
    struct Collaborators {
        platform::OverlayWindowFactory<FogEffectState>& windows;
        platform::FrameClock& frames;
        platform::PointerLocation& pointer;
        const platform::Clock& clock;
    };

    // Pointer moves shorter than this, in points (an overlay's own units), make no new sample.
    static constexpr double kMinPointDistance = 5.0;
    // At most 60 frames a second, whatever the display's rate.
    static constexpr platform::Duration kMinFrameInterval = std::chrono::nanoseconds(16'666'666);

    explicit FogEffectService(Collaborators collaborators);
    FogEffectService(const FogEffectService&) = delete;
    FogEffectService& operator=(const FogEffectService&) = delete;

    FrictionEffectType effectType() const { return FrictionEffectType::fog; }
    bool isActive() const { return isActive_; }
    // Told when the fog ends through deactivate(); not owned.
    void setDelegate(FrictionEffectDelegate* delegate) { delegate_ = delegate; }

    void setIntensity(FogIntensity intensity);
    void setCustomIntensity(double clearRadius, double regenerationDuration, double opacity);
    const FogSettings& settings() const { return settings_; }
    std::size_t maxTrailPoints() const { return settings_.maxTrailPoints(); }

    // Covers the windows and starts the frames; nothing when already active or given none.
    void activate(const std::vector<TargetWindow>& windows);
    // Follows the target's current windows: a window that moved keeps its overlay and trail, a
    // window that went loses its overlay, a new one gets a fresh overlay.
    void syncOverlays(const std::vector<TargetWindow>& windows);
    // Removes everything and tells the delegate; nothing when inactive.
    void deactivate();
    // Removes everything whatever the state, without the delegate.
    void forceCleanup();

    const std::vector<FogOverlay>& overlays() const { return overlays_; }

    // A frame of the clock: let through at most once per kMinFrameInterval.
    void displayLinkFired();
    void updateFrame();

  private:
    std::unique_ptr<FogEffectState> makeState(std::uint32_t targetWindowID) const;
    std::unique_ptr<platform::OverlayWindow> createOverlay(const platform::Rect& bounds,
                                                           FogEffectState& state);
    FogOverlay makeOverlay(const TargetWindow& window);
    void applySettingsToOverlays();
    void startDisplayLink();
    void stopDisplayLink();
    // With nothing to redraw and a pointer that says when it moves, frames stop until it does.
    void pauseUntilPointerMoves();
    void resumeFrames();
    // True when a sample was taken.
    bool updateMouseTrail();
    bool hasTrail() const;
    double now() const;
    void tearDown();

    platform::OverlayWindowFactory<FogEffectState>& windows_;
    platform::FrameClock& frames_;
    platform::PointerLocation& pointer_;
    const platform::Clock& clock_;

    bool isActive_ = false;
    FrictionEffectDelegate* delegate_ = nullptr;
    std::vector<FogOverlay> overlays_;
    platform::Handle displayLink_;
    bool framesRunning_ = false;
    platform::Handle pointerMotion_;
    std::optional<platform::MonotonicTime> lastFrameTime_;
    // Global display coordinates.
    std::optional<platform::Point> lastAbsoluteMousePosition_;
    FogSettings settings_;
};

}  // namespace olvane

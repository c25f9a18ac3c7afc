#include "friction/FogEffectService.h"

#include <algorithm>
#include <cmath>

#include "friction/EffectLabels.h"
#include "friction/FogTrail.h"
#include "model/Logger.h"

namespace olvane {
namespace {

long count(const std::vector<FogOverlay>& overlays) {
    return static_cast<long>(overlays.size());
}

}  // namespace

FogEffectService::FogEffectService(Collaborators collaborators)
    : windows_(collaborators.windows),
      frames_(collaborators.frames),
      pointer_(collaborators.pointer),
      clock_(collaborators.clock) {}

void FogEffectService::setIntensity(FogIntensity intensity) {
    settings_ = FogSettings::preset(intensity);
    applySettingsToOverlays();
    frictionLogger().debug("Intensité Buée: %{public}s", label(intensity));
}

void FogEffectService::setCustomIntensity(double clearRadius, double regenerationDuration,
                                          double opacity) {
    settings_ = FogSettings::custom(clearRadius, regenerationDuration, opacity);
    applySettingsToOverlays();
    frictionLogger().debug("Buée: intensité personnalisée (rayon: %fpx, régén: %fs, opacité: %f)",
                           settings_.clearRadius, settings_.regenerationDuration,
                           settings_.fogOpacity);
}

void FogEffectService::applySettingsToOverlays() {
    for (auto& overlay : overlays_) {
        overlay.state->clearRadius.set(settings_.clearRadius);
        overlay.state->fogOpacity.set(settings_.fogOpacity);
    }
}

std::unique_ptr<FogEffectState> FogEffectService::makeState(std::uint32_t targetWindowID) const {
    return std::make_unique<FogEffectState>(settings_.clearRadius, settings_.fogOpacity,
                                            maxTrailPoints(), targetWindowID);
}

// The overlay lies exactly over the target: both are placed in global display coordinates.
std::unique_ptr<platform::OverlayWindow> FogEffectService::createOverlay(
    const platform::Rect& bounds, FogEffectState& state) {
    auto window = windows_.createOverlay(bounds, state);
    window->orderFront();
    frictionLogger().debug("Overlay créé à %{public}s", platform::describe(bounds));
    return window;
}

FogOverlay FogEffectService::makeOverlay(const TargetWindow& target) {
    FogOverlay overlay;
    overlay.state = makeState(target.windowID);
    overlay.window = createOverlay(target.bounds, *overlay.state);
    overlay.bounds = target.bounds;
    overlay.windowID = target.windowID;
    return overlay;
}

void FogEffectService::activate(const std::vector<TargetWindow>& windows) {
    if (isActive_ || windows.empty()) {
        return;
    }
    frictionLogger().info("Activation de l'effet Buée sur %ld fenêtre(s)",
                          static_cast<long>(windows.size()));
    for (const auto& window : windows) {
        overlays_.push_back(makeOverlay(window));
    }
    startDisplayLink();
    isActive_ = true;
}

void FogEffectService::syncOverlays(const std::vector<TargetWindow>& windows) {
    const std::size_t before = overlays_.size();
    auto remaining = std::move(overlays_);
    overlays_.clear();
    std::vector<FogOverlay> result;
    for (const auto& window : windows) {
        const auto found = std::find_if(remaining.begin(), remaining.end(), [&](const auto& o) {
            return o.windowID == window.windowID;
        });
        if (found == remaining.end()) {
            result.push_back(makeOverlay(window));
            continue;
        }
        FogOverlay overlay = std::move(*found);
        remaining.erase(found);
        if (overlay.window->frame() != window.bounds) {
            overlay.window->setFrame(window.bounds);
        }
        overlay.bounds = window.bounds;
        result.push_back(std::move(overlay));
    }
    for (auto& gone : remaining) {
        gone.window->orderOut();
        gone.state->editTrail([](auto& trail) { trail.clear(); });
    }
    if (result.size() != before) {
        frictionLogger().debug("Overlays synchronisés: %ld overlay(s)", count(result));
    }
    overlays_ = std::move(result);
}

void FogEffectService::deactivate() {
    if (!isActive_) {
        return;
    }
    frictionLogger().info("Désactivation de l'effet Buée (%ld overlay(s))", count(overlays_));
    tearDown();
    if (delegate_) {
        delegate_->effectDidEnd(*this);
    }
}

void FogEffectService::forceCleanup() {
    frictionLogger().info("Nettoyage forcé de l'effet Buée (%ld overlay(s))", count(overlays_));
    tearDown();
}

void FogEffectService::tearDown() {
    isActive_ = false;
    stopDisplayLink();
    for (auto& overlay : overlays_) {
        overlay.window->orderOut();
        overlay.state->editTrail([](auto& trail) { trail.clear(); });
    }
    overlays_.clear();
    lastAbsoluteMousePosition_.reset();
}

// Without frames the fog stays, as plain fog that never clears.
void FogEffectService::startDisplayLink() {
    if (framesRunning_) {
        return;
    }
    displayLink_ = frames_.start([this] { displayLinkFired(); });
    if (!displayLink_) {
        frictionLogger().error("Impossible de créer CVDisplayLink");
        return;
    }
    framesRunning_ = true;
    frictionLogger().debug("DisplayLink démarré (sync écran)");
}

void FogEffectService::stopDisplayLink() {
    pointerMotion_.cancel();
    if (!framesRunning_) {
        return;
    }
    framesRunning_ = false;
    displayLink_.cancel();
    frictionLogger().debug("DisplayLink arrêté");
}

// A fog at rest costs nothing: no frame until the pointer moves again.
void FogEffectService::pauseUntilPointerMoves() {
    if (pointerMotion_ || !displayLink_) {
        return;
    }
    pointerMotion_ = pointer_.observeMotion([this] { resumeFrames(); });
    if (pointerMotion_) {
        displayLink_.cancel();
    }
}

void FogEffectService::resumeFrames() {
    pointerMotion_.cancel();
    if (framesRunning_ && !displayLink_) {
        displayLink_ = frames_.start([this] { displayLinkFired(); });
    }
}

bool FogEffectService::hasTrail() const {
    return std::any_of(overlays_.begin(), overlays_.end(),
                       [](const FogOverlay& overlay) { return !overlay.state->trail().empty(); });
}

void FogEffectService::displayLinkFired() {
    const auto frameTime = clock_.monotonicNow();
    if (lastFrameTime_ && frameTime - *lastFrameTime_ < kMinFrameInterval) {
        return;
    }
    lastFrameTime_ = frameTime;
    updateFrame();
}

double FogEffectService::now() const {
    return platform::toSeconds(clock_.monotonicNow().time_since_epoch());
}

void FogEffectService::updateFrame() {
    if (!isActive_) {
        return;
    }
    const bool sampled = updateMouseTrail();
    const double frameTime = now();
    for (auto& overlay : overlays_) {
        // An empty trail has nothing to redraw.
        if (overlay.state->trail().empty()) {
            continue;
        }
        overlay.state->editTrail(
            [&](auto& trail) { fog::fade(trail, frameTime, settings_.regenerationDuration); });
    }
    if (!sampled && !hasTrail()) {
        pauseUntilPointerMoves();
    }
}

bool FogEffectService::updateMouseTrail() {
    if (!isActive_ || overlays_.empty()) {
        return false;
    }
    const auto pointer = pointer_.pointerLocation();
    if (!pointer) {
        return false;
    }
    const double sampleTime = now();
    const std::size_t maxPoints = maxTrailPoints();
    bool sampled = false;
    for (auto& overlay : overlays_) {
        if (!overlay.window->frame().contains(*pointer)) {
            continue;
        }
        // In the overlay's own units, those of the radius: points, whatever the desktop's scale.
        const auto local = overlay.window->localPoint(*pointer);
        if (lastAbsoluteMousePosition_) {
            const auto last = overlay.window->localPoint(*lastAbsoluteMousePosition_);
            if (std::hypot(local.x - last.x, local.y - last.y) < kMinPointDistance) {
                continue;
            }
        }
        overlay.state->mousePosition.set(local);
        overlay.state->editTrail([&](auto& trail) {
            fog::appendSample(trail, local, sampleTime, settings_.clearRadius, maxPoints);
        });
        sampled = true;
    }
    if (sampled) {
        lastAbsoluteMousePosition_ = pointer;
    }
    return sampled;
}

}  // namespace olvane

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "friction/ActiveEffects.h"
#include "friction/FogEffectService.h"
#include "friction/FrictionEffectDelegate.h"
#include "friction/TurtleEffectService.h"
#include "friction/WindowMonitorService.h"
#include "model/RedListConfig.h"
#include "platform/Geometry.h"

namespace olvane {

// One of the application's own windows.
struct OwnWindow {
    std::int64_t windowNumber = 0;
    // In global display coordinates.
    platform::Rect frame;
};

// Where the rest of the application starts and stops the fog and tears every friction effect
// down at once. It keeps the fog's entry in the active effects in step with the fog shown.
class FrictionEffectsService final : public FrictionEffectDelegate {
  public:
    struct Collaborators {
        WindowMonitorService& windowMonitor;
        TurtleEffectService& turtle;
        ActiveEffects activeEffects;
        // For the fog engine, made on first use.
        FogEffectService::Collaborators fog;
    };

    explicit FrictionEffectsService(Collaborators collaborators);
    FrictionEffectsService(const FrictionEffectsService&) = delete;
    FrictionEffectsService& operator=(const FrictionEffectsService&) = delete;

    // Fog and turtle go whatever their state; the active effects are emptied, a delay's entry
    // included. Shutdown and crash recovery.
    void forceCleanup();
    // Removes the fog only; the turtle and the delay are left as they are.
    void deactivateAllEffects();
    // Covers the target's on-screen windows with the fog of its configuration, replacing a fog
    // shown elsewhere. False, with nothing changed, when the target has no window on screen: a
    // caller that recorded the fog as shown must forget it.
    bool activateFog(const std::string& bundleID, const RedListConfig& config);
    // The friction page's test: the fog over the application's own window.
    void testFogOnOwnWindow();

    // Made by this call when it is the first use.
    FogEffectService& fogEffect();
    // The application the fog was last started on.
    const std::optional<std::string>& targetBundleID() const { return targetBundleID_; }

    void effectDidEnd(const FogEffectService& effect) override;

    // The application's main window, else its first visible one; set by the interface.
    std::function<std::optional<OwnWindow>()> findOwnWindow;

  private:
    WindowMonitorService& windowMonitor_;
    TurtleEffectService& turtle_;
    ActiveEffects activeEffects_;
    FogEffectService::Collaborators fogCollaborators_;
    std::optional<std::string> targetBundleID_;
    std::unique_ptr<FogEffectService> fogEffect_;
};

}  // namespace olvane

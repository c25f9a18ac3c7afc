#include "friction/FrictionEffectsService.h"

#include <limits>

#include "friction/EffectLabels.h"
#include "model/Logger.h"
#include "platform/Paths.h"

namespace olvane {
namespace {

std::uint32_t windowIDOf(std::int64_t windowNumber) {
    const bool fits =
        windowNumber >= 0 && windowNumber <= std::numeric_limits<std::uint32_t>::max();
    return fits ? static_cast<std::uint32_t>(windowNumber) : 0;
}

}  // namespace

FrictionEffectsService::FrictionEffectsService(Collaborators collaborators)
    : windowMonitor_(collaborators.windowMonitor),
      turtle_(collaborators.turtle),
      activeEffects_(collaborators.activeEffects),
      fogCollaborators_(collaborators.fog) {}

FogEffectService& FrictionEffectsService::fogEffect() {
    if (!fogEffect_) {
        fogEffect_ = std::make_unique<FogEffectService>(fogCollaborators_);
        fogEffect_->setDelegate(this);
    }
    return *fogEffect_;
}

void FrictionEffectsService::forceCleanup() {
    frictionLogger().info("Nettoyage forcé des effets de friction");
    fogEffect().forceCleanup();
    turtle_.forceCleanup();
    activeEffects_.clear();
    targetBundleID_.reset();
}

void FrictionEffectsService::deactivateAllEffects() {
    frictionLogger().info("Désactivation de tous les effets");
    fogEffect().deactivate();
    activeEffects_.remove(FrictionEffectType::fog);
    targetBundleID_.reset();
}

bool FrictionEffectsService::activateFog(const std::string& bundleID, const RedListConfig& config) {
    const auto windows = windowMonitor_.windows(bundleID);
    if (windows.empty()) {
        frictionLogger().error("⚠️ Échec activation Buée: aucune fenêtre trouvée pour %s",
                               bundleID);
        return false;
    }
    frictionLogger().logUserAction(
        "Activation Buée pour " + platform::userData(bundleID) + ": " +
        platform::ComposedText(std::to_string(windows.size())) + " fenêtre(s) (" +
        platform::ComposedText(std::string(label(config.fogIntensity))) + ")");
    targetBundleID_ = bundleID;
    auto& fog = fogEffect();
    fog.deactivate();
    if (config.fogIntensity == FogIntensity::custom) {
        const FogSettings custom = FogSettings::storedCustom(config);
        fog.setCustomIntensity(custom.clearRadius, custom.regenerationDuration, custom.fogOpacity);
    } else {
        fog.setIntensity(config.fogIntensity);
    }
    fog.activate(windows);
    activeEffects_.insert(FrictionEffectType::fog);
    return true;
}

void FrictionEffectsService::testFogOnOwnWindow() {
    frictionLogger().logUserAction("Test de l'effet Buée (5 sec)");
    const auto window = findOwnWindow ? findOwnWindow() : std::nullopt;
    if (!window) {
        frictionLogger().error("Aucune fenêtre Olvane trouvée");
        return;
    }
    // The window's frame is already in global display coordinates.
    frictionLogger().debug("Test Buée sur fenêtre Olvane: %{public}s",
                           platform::describe(window->frame));
    targetBundleID_ = platform::Paths::kApplicationId;
    auto& fog = fogEffect();
    fog.deactivate();
    fog.setCustomIntensity(125, 2.5, 0.98);
    fog.activate({TargetWindow{windowIDOf(window->windowNumber), window->frame}});
    activeEffects_.insert(FrictionEffectType::fog);
}

void FrictionEffectsService::effectDidEnd(const FogEffectService& effect) {
    frictionLogger().info("Effet %{public}s terminé", label(effect.effectType()));
    activeEffects_.remove(effect.effectType());
}

}  // namespace olvane

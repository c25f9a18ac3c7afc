#include "app/CrashRecoveryService.h"

#include "app/ServiceControls.h"
#include "model/Logger.h"
#include "model/SettingsManager.h"

namespace olvane {
namespace {

const Logger& log() {
    return Logger::crashRecovery();
}

}  // namespace

CrashRecoveryService::CrashRecoveryService(
    SettingsManager& settings, const platform::KeyValueStore& store,
    const platform::Observable<bool>& isGrayscaleFilterEnabled, ServiceControls& services)
    : settings_(settings),
      store_(store),
      isGrayscaleFilterEnabled_(isGrayscaleFilterEnabled),
      services_(services) {}

std::string CrashRecoveryService::describeEffects(const std::vector<std::string>& effects) {
    std::string text = "[";
    for (std::size_t i = 0; i < effects.size(); ++i) {
        text += (i == 0 ? "\"" : ", \"") + effects[i] + "\"";
    }
    return text + "]";
}

// A record that could not be read was still left by a run that did not end cleanly.
bool CrashRecoveryService::recordWasLeft() const {
    return settings_.lastKnownState().has_value() ||
           !store_.get(SettingsManager::kLastKnownStateKey).isMissing();
}

bool CrashRecoveryService::performStartupCleanup() {
    log().info("Démarrage du nettoyage au démarrage...");
    if (!recordWasLeft()) {
        log().debug("Aucun état précédent trouvé - démarrage propre");
        return false;
    }
    crashDetected_ = true;
    recoveredState_ = settings_.lastKnownState();
    log().error("⚠️ État précédent détecté - fermeture anormale probable");
    if (recoveredState_) {
        log().info("Dernier état: N&B=%{bool}d, Effets=%{public}s",
                   recoveredState_->wasGrayscaleEnabled,
                   describeEffects(recoveredState_->activeEffects));
    }
    resetEffects();
    settings_.clearLastKnownState();
    log().info("✅ Nettoyage terminé - système réinitialisé");
    return true;
}

// Whatever the record says: a record that claims nothing was on still gets the full reset.
void CrashRecoveryService::resetEffects() {
    log().debug("Réinitialisation des effets visuels...");
    services_.forceDisableGrayscale();
    log().debug("Filtre N&B désactivé via GrayscaleFilterService");
    services_.forceCleanupFrictionEffects();
    log().debug("Fenêtres d'overlay fermées via FrictionEffectsService");
}

void CrashRecoveryService::saveInitialState() {
    settings_.saveLastKnownState(isGrayscaleFilterEnabled_.get(), {});
    log().debug("État initial sauvegardé");
}

void CrashRecoveryService::recordCleanShutdown() {
    settings_.clearLastKnownState();
    log().info("Fermeture propre enregistrée");
}

}  // namespace olvane

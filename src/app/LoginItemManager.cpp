#include "app/LoginItemManager.h"

#include "model/Logger.h"

namespace olvane {
namespace {

using platform::ServiceStatus;
using platform::Status;

const Logger& log() {
    return Logger::app();
}

}  // namespace

LoginItemManager::LoginItemManager(platform::LoginItems& items, SettingsManager& settings)
    : items_(items), settings_(settings) {}

void LoginItemManager::storeLaunchAtLogin(bool launchAtLogin) {
    settings_.settings().launchAtLogin = launchAtLogin;
    settings_.saveSettings(false);
}

Status LoginItemManager::enable() {
    if (items_.status() == ServiceStatus::Enabled) {
        log().debug("Démarrage au login déjà activé");
        return Status::success();
    }
    auto registered = items_.registerApplication();
    if (!registered) {
        log().logError("Échec de l'activation du démarrage au login", registered);
        return registered;
    }
    log().info("Démarrage au login activé avec succès");
    storeLaunchAtLogin(true);
    return registered;
}

Status LoginItemManager::disable() {
    if (items_.status() != ServiceStatus::Enabled) {
        log().debug("Démarrage au login déjà désactivé");
        return Status::success();
    }
    auto unregistered = items_.unregisterApplication();
    if (!unregistered) {
        log().logError("Échec de la désactivation du démarrage au login", unregistered);
        return unregistered;
    }
    log().info("Démarrage au login désactivé avec succès");
    storeLaunchAtLogin(false);
    return unregistered;
}

void LoginItemManager::syncWithSettings() {
    const bool launchAtLogin = settings_.settings().launchAtLogin;
    const bool enabled = items_.status() == ServiceStatus::Enabled;
    Status result = Status::success();
    if (launchAtLogin && !enabled) {
        result = enable();
    } else if (!launchAtLogin && enabled) {
        result = disable();
    }
    if (!result) {
        log().logError("Impossible de synchroniser l'état du démarrage au login", result);
    }
}

void LoginItemManager::removeEveryEntry() {
    const auto removal = items_.removeEveryEntry();
    for (const auto& entry : removal.removed) {
        log().info("Entrée de démarrage automatique supprimée: %{private}s", entry);
    }
    for (const auto& failure : removal.failures) {
        log().logError("Entrée de démarrage automatique non supprimée", failure);
    }
}

}  // namespace olvane

#include "app/AppDelegate.h"

#include <algorithm>

#include "app/CrashRecoveryService.h"
#include "app/MenuBarPresence.h"
#include "app/ServiceControls.h"
#include "model/Logger.h"
#include "model/SettingsManager.h"

namespace olvane {
namespace {

const Logger& log() {
    return Logger::app();
}

}  // namespace

AppDelegate::AppDelegate(AppState& appState, SettingsManager& settings,
                         CrashRecoveryService& crashRecovery, ServiceControls& services,
                         MenuBarPresence& menuBar)
    : appState_(appState),
      settings_(settings),
      crashRecovery_(crashRecovery),
      services_(services),
      menuBar_(menuBar),
      self_(std::make_shared<AppDelegate*>(this)) {}

void AppDelegate::performStartup() {
    services_.logPlatformChoices();
    services_.probeFramebuffer();
    // From here on a crash puts the display back into colour.
    services_.installCrashSignalHandlers();
    services_.writeWatchdogPID();
    services_.registerWatchdogAgent();
    if (crashRecovery_.performStartupCleanup()) {
        log().error("Crash précédent détecté - effets réinitialisés");
        settings_.settings().grayscaleWasActiveOnShutdown = false;
        settings_.saveSettings(false);
    }
    setupServices();
    menuBar_.setupMenuBar();
    restoreGrayscaleIfNeeded();
    services_.syncLoginItemWithSettings();
    // From here until a clean shutdown, the record marks the application as running.
    crashRecovery_.saveInitialState();
    log().info("Initialisation terminée");
}

void AppDelegate::setupServices() {
    if (!services_.isProcessTrustedForAccessibility()) {
        services_.promptForAccessibility();
    }
    services_.startWindowMonitoring();
    services_.startHotkeyMonitoring();
    setupHotkeyCallbacks();
    services_.installNativeHostManifests();
    services_.recordRunningBrowsers();
    startAppMonitoringIfNeeded();
    services_.cleanLegacyRulesKeys();
    services_.exportRedListConfigAtLaunch();
    services_.exportContentRulesAtLaunch();
    services_.startExtensionStatus();
    log().debug("Services initialisés");
}

// Without a target that has an effect on, monitoring stays off until a page starts it.
void AppDelegate::startAppMonitoringIfNeeded() {
    const auto& targets = settings_.settings().redListConfigs;
    if (std::ranges::none_of(targets, &RedListConfig::hasAnyEffect)) {
        return;
    }
    services_.startAppMonitoring();
    Logger::frictionEffects().info("Surveillance des apps démarrée au lancement");
}

void AppDelegate::setupHotkeyCallbacks() {
    std::weak_ptr<AppDelegate*> weak = self_;
    auto callback = [weak](const char* message, std::int64_t seconds) {
        return [weak, message, seconds] {
            if (const auto self = weak.lock()) {
                (*self)->pauseFromHotkey(message, seconds);
            }
        };
    };
    services_.setHotkeyCallbacks(callback("Pause 5 minutes activée", 300),
                                 callback("Pause 3 secondes activée", 3));
}

void AppDelegate::pauseFromHotkey(const char* message, std::int64_t seconds) {
    if (!appState_.isGrayscaleFilterEnabled()) {
        return;
    }
    log().logUserAction(message);
    services_.pauseGrayscale(seconds);
}

// Only the user's intention decides, not whether the filter was on at the last quit.
void AppDelegate::restoreGrayscaleIfNeeded() {
    if (!settings_.settings().userWantsGrayscaleEnabled) {
        log().debug(
            "Filtre N&B: pas de restauration nécessaire (intention utilisateur = désactivé)");
        // Grey left by a run killed together with its watchdog: when that run's crash record
        // could not be saved either, nothing else gives the colour back.
        services_.resetLeftoverGrayscale();
        return;
    }
    log().info("Restauration du filtre N&B (intention utilisateur = activé)");
    services_.enableGrayscale();
    menuBar_.updateStatusItemIcon();
}

void AppDelegate::performShutdown() {
    shutDown(true);
}

void AppDelegate::performShutdownWithoutDisplay() {
    shutDown(false);
}

void AppDelegate::shutDown(bool displayReachable) {
    log().info("=== OlvaneMac fermeture ===");
    if (!displayReachable) {
        log().notice("Connexion à l’écran perdue : fermeture sans affichage");
    }
    if (appState_.isUninstalling()) {
        // The ordered uninstall has taken everything down already, settings and record included.
        log().info("Désinstallation en cours — fermeture propre déléguée à UninstallService");
        return;
    }
    const bool on = appState_.isGrayscaleFilterEnabled();
    settings_.settings().grayscaleWasActiveOnShutdown = on;
    settings_.saveSettings(false);
    log().debug("État N&B sauvegardé: %{bool}d", on);
    if (on) {
        services_.forceDisableGrayscale();
    }
    // Windows, taps and key monitors live on the display: with it gone, they went with it.
    if (displayReachable) {
        services_.stopAppMonitoring();
        // A delay overlay is left as it is.
        services_.forceCleanupFrictionEffects();
        services_.stopHotkeyMonitoring();
    }
    // The agent stays registered: it resets the display once more when this process ends.
    if (services_.desktopKeepsUserValues()) {
        // The desktop took nothing back (its session bus gone, say): the run ends as a crash
        // would, so that the agent's next start, or the next launch, gives the values back.
        log().logError(
            "Réglages du bureau de l’utilisateur non rendus : ils seront remis au "
            "prochain lancement");
    } else {
        services_.clearWatchdogPID();
        crashRecovery_.recordCleanShutdown();
    }
    if (displayReachable) {
        services_.stopExtensionStatus();
        menuBar_.hideExtensionWarning();
    }
    log().info("Fermeture propre terminée");
}

}  // namespace olvane

#include "grayscale/GrayscaleFilterService.h"

#include <algorithm>

#include "friction/WindowMonitorService.h"
#include "grayscale/AccessibilityBridge.h"
#include "grayscale/FramebufferService.h"
#include "model/BrowserType.h"
#include "model/Logger.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "model/SiteNormalizer.h"
#include "model/exchange/RulesFileFormat.h"
#include "platform/Paths.h"
#include "platform/SystemEvents.h"
#include "platform/Workspace.h"

namespace olvane {
namespace {

const Logger& log() {
    return Logger::grayscaleFilter();
}

bool contains(const std::vector<std::string>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

GrayscaleFilterService::GrayscaleFilterService(Collaborators c)
    : loop_(c.loop),
      settings_(c.settings),
      appState_(c.appState),
      rulesFile_(c.rulesFile),
      windowMonitor_(c.windowMonitor),
      workspace_(c.workspace),
      systemEvents_(c.systemEvents),
      backend_(c.framebuffer, c.accessibility),
      commandWatchers_(
          c.loop, c.clock, c.files, c.paths.dataFolder(), c.paths.sharedContainer(),
          [this](const exchange::GrayscaleCommand& command, CommandOrigin origin) {
              applyGrayscaleCommand(command, origin);
          },
          [this](const exchange::FullscreenCommand& command, CommandOrigin origin) {
              applyFullscreenCommand(command, origin);
          }),
      wakeRechecks_(c.loop, [this] { verifyGrayscaleAfterWake(); }),
      wakeWatch_(c.loop, c.systemEvents, [this] { handleWakeEvent(); }) {
    // In this order: application-change callback, command files, "_grayscale", wake, session.
    appChanged_ = windowMonitor_.addAppChangedCallback(
        kAppChangedCallbackId,
        [this](const std::optional<std::string>&, const std::optional<std::string>& name) {
            handleAppChanged(name);
        });
    commandWatchers_.start();
    exportAllowedSites();
    setupSleepWakeWatchdog();
    setupFastUserSwitchingObservers();
    desktopSwitchedOff_ =
        c.accessibility.observeSwitchOffElsewhere([this] { desktopSwitchedOffElsewhere(); });
}

// MARK: the user's switch

void GrayscaleFilterService::enable() {
    log().logUserAction("Activation du filtre N&B");
    settings_.settings().userWantsGrayscaleEnabled = true;
    settings_.saveSettings(false);
    appState_.isGrayscaleFilterEnabled.set(true);
    isTemporarilyDisabled_ = false;
    isDisabledForAllowedSite_ = false;
    isDisabledForFullscreenVideo_ = false;
    if (isFrontAppAllowed()) {
        isTemporarilyDisabled_ = true;
        // The display keeps its colour, unless a run killed together with its watchdog left our
        // grey there: at a start nothing else would take it back before the next switch.
        backend_.resetLeftoverGrayscale();
    } else {
        // A running pause goes on: its end applies the filter.
        restoreIfNothingHolds();
    }
    recordLastKnownState(true);
}

void GrayscaleFilterService::disable() {
    log().logUserAction("Désactivation du filtre N&B");
    cancelPause();
    settings_.settings().userWantsGrayscaleEnabled = false;
    settings_.saveSettings(false);
    appState_.isGrayscaleFilterEnabled.set(false);
    switchOff();
    recordLastKnownState(false);
}

void GrayscaleFilterService::forceDisable() {
    log().info("Force désactivation du filtre N&B");
    backend_.forceColour();
    markOff();
}

// Colour stays until the filter's own next switch on: turning grey again by ourselves would
// fight the user. As after a forced reset, the stored intention brings the filter back at the
// next start.
void GrayscaleFilterService::desktopSwitchedOffElsewhere() {
    if (!isFilterOn()) {
        return;
    }
    log().info(
        "Filtre N&B coupé depuis le bureau — réglages de l'utilisateur remis, filtre "
        "désactivé");
    markOff();
}

void GrayscaleFilterService::markOff() {
    appState_.isGrayscaleFilterEnabled.set(false);
    appState_.isPaused.set(false);
    appState_.pauseRemainingSeconds.set(std::nullopt);
    sessionSuspendedGrayscale_ = false;
    isTemporarilyDisabled_ = false;
    isDisabledForAllowedSite_ = false;
    isDisabledForFullscreenVideo_ = false;
    cancelPause();
}

// MARK: allowed applications

void GrayscaleFilterService::checkAllowedApp() {
    if (isPaused()) {
        log().debug("Application ignorée - en pause");
        return;
    }
    if (isFrontAppAllowed()) {
        if (!isFilterOn() || isTemporarilyDisabled_) {
            return;
        }
        log().debug("Désactivation temporaire pour app autorisée");
        switchOff();
        isTemporarilyDisabled_ = true;
        return;
    }
    if (!isTemporarilyDisabled_) {
        return;
    }
    log().debug("Réactivation après app autorisée");
    isTemporarilyDisabled_ = false;
    if (isDisabledForAllowedSite_ || isDisabledForFullscreenVideo_) {
        return;
    }
    if (isFilterOn()) {
        restoreIfNothingHolds();
    } else {
        switchOff();
    }
}

void GrayscaleFilterService::addAllowedApp(const std::string& bundleID) {
    mutateAllowedApps(bundleID, true);
}

void GrayscaleFilterService::removeAllowedApp(const std::string& bundleID) {
    mutateAllowedApps(bundleID, false);
}

void GrayscaleFilterService::mutateAllowedApps(const std::string& bundleID, bool add) {
    auto& apps = settings_.settings().grayscaleAllowedApps;
    if (add) {
        if (!contains(apps, bundleID)) {
            apps.push_back(bundleID);
            log().logUserAction("App ajoutée aux autorisées: " + platform::userData(bundleID));
        }
    } else {
        std::erase(apps, bundleID);
        log().logUserAction("App retirée des autorisées: " + platform::userData(bundleID));
    }
    settings_.saveSettings(false);
    if (isFilterOn()) {
        checkAllowedApp();
    }
}

// MARK: allowed sites

void GrayscaleFilterService::addAllowedSite(std::string_view typed) {
    // An entry without a host would match no site, or every one.
    const auto entry = SiteNormalizer::normalize(typed);
    if (entry.empty() || !SiteNormalizer::hasHost(entry)) {
        return;
    }
    auto& sites = settings_.settings().grayscaleAllowedSites;
    if (!contains(sites, entry)) {
        sites.push_back(entry);
        log().logUserAction("Site ajouté aux autorisés: " + platform::userData(entry));
    }
    settings_.saveSettings(false);
    exportAllowedSites();
}

void GrayscaleFilterService::removeAllowedSite(const std::string& site) {
    std::erase(settings_.settings().grayscaleAllowedSites, site);
    log().logUserAction("Site retiré des autorisés: " + platform::userData(site));
    settings_.saveSettings(false);
    exportAllowedSites();
}

void GrayscaleFilterService::exportAllowedSites() const {
    rulesFile_.updateRules(exchange::kGrayscaleSection,
                           exchange::grayscaleSection(settings_.settings().grayscaleAllowedSites));
}

// MARK: pause

void GrayscaleFilterService::pause(std::int64_t seconds) {
    if (!isFilterOn()) {
        log().debug("Pause ignorée - filtre non actif");
        return;
    }
    log().logUserAction("Pause de " + platform::ComposedText(std::to_string(seconds)) +
                        " secondes");
    cancelPause();
    appState_.isPaused.set(true);
    appState_.pauseRemainingSeconds.set(seconds);
    switchOff();
    pauseTimer_ = loop_.every(platform::seconds(1.0),
                              [this] { pendingTick_ = loop_.post([this] { pauseTimerTick(); }); });
}

void GrayscaleFilterService::cancelPause() {
    pauseTimer_ = platform::Handle();
    pendingTick_ = platform::Handle();  // a tick of the pause being cancelled must not count
    appState_.isPaused.set(false);
    appState_.pauseRemainingSeconds.set(std::nullopt);
}

void GrayscaleFilterService::pauseTimerTick() {
    const auto remaining = appState_.pauseRemainingSeconds();
    if (!remaining) {
        cancelPause();
        return;
    }
    appState_.pauseRemainingSeconds.set(*remaining - 1);
    if (*remaining - 1 > 0) {
        return;
    }
    log().info("Fin de la pause");
    cancelPause();
    restoreAfterPause(true);
}

void GrayscaleFilterService::resumeFromPause() {
    log().logUserAction("Reprise après pause");
    cancelPause();
    restoreAfterPause(false);
}

void GrayscaleFilterService::restoreAfterPause(bool logRestore) {
    if (!shouldBeGrey()) {
        checkAllowedApp();
        return;
    }
    if (logRestore) {
        log().info("Réactivation du filtre après fin de pause");
    }
    switchOn();
}

// MARK: command files

void GrayscaleFilterService::applyGrayscaleCommand(const exchange::GrayscaleCommand& command,
                                                   CommandOrigin origin) {
    const bool safari = origin == CommandOrigin::SharedContainer;
    if (command.action == exchange::kActionDisable) {
        if (!isFilterOn() || isDisabledForAllowedSite_ || isPaused()) {
            return;
        }
        log().info(safari ? "Safari: désactivation temporaire pour site autorisé: %s"
                          : "Désactivation temporaire pour site autorisé: %s",
                   command.domain.empty() ? std::string("?") : command.domain);
        isDisabledForAllowedSite_ = true;
        switchOff();
    } else if (command.action == exchange::kActionEnable) {
        if (!isFilterOn() || !isDisabledForAllowedSite_) {
            return;
        }
        log().info(safari ? "Safari: réactivation après site autorisé"
                          : "Réactivation après site autorisé");
        isDisabledForAllowedSite_ = false;
        restoreIfNothingHolds();
    }
}

void GrayscaleFilterService::applyFullscreenCommand(const exchange::FullscreenCommand& command,
                                                    CommandOrigin origin) {
    const bool safari = origin == CommandOrigin::SharedContainer;
    if (command.action == exchange::kActionFullscreenStart) {
        if (!isFilterOn() || !settings_.settings().grayscalePauseOnFullscreenVideo ||
            isDisabledForFullscreenVideo_ || isPaused()) {
            return;
        }
        log().info(safari ? "Safari: désactivation pour vidéo plein écran"
                          : "Désactivation temporaire pour vidéo plein écran");
        isDisabledForFullscreenVideo_ = true;
        switchOff();
    } else if (command.action == exchange::kActionFullscreenEnd) {
        if (!isFilterOn() || !isDisabledForFullscreenVideo_) {
            return;
        }
        log().info(safari ? "Safari: réactivation après vidéo plein écran"
                          : "Réactivation après vidéo plein écran");
        isDisabledForFullscreenVideo_ = false;
        restoreIfNothingHolds();
    }
}

// MARK: wake, session, application changes

void GrayscaleFilterService::setupSleepWakeWatchdog() {
    wakeWatch_.start();
}

void GrayscaleFilterService::setupFastUserSwitchingObservers() {
    sessionResigned_ = systemEvents_.observe(platform::SystemEvent::SessionDidResignActive,
                                             [this] { sessionDidResignActive(); });
    sessionActivated_ = systemEvents_.observe(platform::SystemEvent::SessionDidBecomeActive,
                                              [this] { sessionDidBecomeActive(); });
    log().debug("Observers Fast User Switching configurés");
}

void GrayscaleFilterService::handleWakeEvent() {
    if (!isFilterOn() || isPaused() || sessionSuspendedGrayscale_) {
        return;
    }
    wakeRechecks_.schedule();
}

void GrayscaleFilterService::verifyGrayscaleAfterWake() {
    if (!shouldBeGrey() || isTemporarilyDisabled_) {
        return;
    }
    backend_.reapplyIfLost();
}

// Paused or not: a pause ending while another user has the seat must not turn their screen grey.
void GrayscaleFilterService::sessionDidResignActive() {
    if (!isFilterOn()) {
        return;
    }
    log().info("Session resign — désactivation temporaire du filtre");
    sessionSuspendedGrayscale_ = true;
    switchOff();
}

void GrayscaleFilterService::sessionDidBecomeActive() {
    if (!sessionSuspendedGrayscale_) {
        return;
    }
    sessionSuspendedGrayscale_ = false;
    if (shouldBeGrey()) {
        log().info("Session active — réactivation du filtre");
        switchOn();
    }
}

void GrayscaleFilterService::handleAppChanged(const std::optional<std::string>& appName) {
    if (!isFilterOn()) {
        return;
    }
    // Firefox reports the end of a fullscreen video itself; while it runs the suspension stays.
    if (isDisabledForFullscreenVideo_ && !isFirefoxRunning()) {
        log().info("Réinitialisation fullscreen : Firefox n'est plus actif");
        isDisabledForFullscreenVideo_ = false;
        restoreIfNothingHolds();
    }
    if (isDisabledForAllowedSite_) {
        log().info("Changement d'app : réactivation après site autorisé");
        isDisabledForAllowedSite_ = false;
        restoreIfNothingHolds();
    }
    log().debug("Changement d'app détecté: %s", appName.value_or("nil"));
    checkAllowedApp();
}

bool GrayscaleFilterService::isFirefoxRunning() const {
    const auto firefox = bundleIdentifier(BrowserType::firefox);
    const auto running = workspace_.allRunningApplications();
    return std::any_of(running.begin(), running.end(), [&](const platform::RunningApplication& a) {
        return a.bundleIdentifier && a.bundleIdentifier->starts_with(firefox);
    });
}

// MARK: the display

bool GrayscaleFilterService::isFrontAppAllowed() const {
    const auto& front = appState_.currentAppBundleID();
    return front && contains(settings_.settings().grayscaleAllowedApps, *front);
}

bool GrayscaleFilterService::shouldBeGrey() const {
    return isFilterOn() && !isPaused() && !sessionSuspendedGrayscale_ && !isFrontAppAllowed() &&
           !isDisabledForAllowedSite_ && !isDisabledForFullscreenVideo_;
}

void GrayscaleFilterService::restoreIfNothingHolds() {
    if (shouldBeGrey()) {
        switchOn();
    }
}

// Grey is only ever applied with no allowed application in front, so that suspension is over;
// a stale flag would keep the next allowed application grey.
void GrayscaleFilterService::switchOn() {
    backend_.switchOn();
    isTemporarilyDisabled_ = false;
}

void GrayscaleFilterService::switchOff() {
    backend_.switchOff();
}

void GrayscaleFilterService::recordLastKnownState(bool filterOn) const {
    settings_.saveLastKnownState(filterOn, {});
}

}  // namespace olvane

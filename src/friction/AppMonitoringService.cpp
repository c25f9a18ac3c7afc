#include "friction/AppMonitoringService.h"

#include <algorithm>

#include "friction/EffectLabels.h"
#include "friction/WebsiteTargets.h"
#include "model/Logger.h"

namespace olvane {
namespace {

const char* orNil(const std::optional<std::string>& text) {
    return text ? text->c_str() : "(nil)";
}

platform::ComposedText ours(std::string_view words) {
    return platform::ComposedText(std::string(words));
}

}  // namespace

AppMonitoringService::AppMonitoringService(Collaborators collaborators)
    : loop_(collaborators.loop),
      settings_(collaborators.settings),
      workspace_(collaborators.workspace),
      windowMonitor_(collaborators.windowMonitor),
      frictionEffects_(collaborators.frictionEffects),
      turtle_(collaborators.turtle),
      delay_(collaborators.delay),
      notifications_(collaborators.notifications),
      browserWatchers_(std::move(collaborators.browserWatchers)),
      ownBundleID_(std::move(collaborators.ownBundleID)) {}

AppMonitoringService::~AppMonitoringService() {
    // The watchers outlive their callbacks into this service only while it lives.
    for (auto& [bundleID, watcher] : browserWatchers_) {
        watcher->onDomainChanged = nullptr;
    }
}

bool AppMonitoringService::isBrowser(const std::string& bundleID) const {
    return browserWatchers_.contains(bundleID);
}

bool AppMonitoringService::isOwnApplication(const std::string& bundleID) const {
    return !ownBundleID_.empty() && bundleID == ownBundleID_;
}

BrowserSiteWatcher* AppMonitoringService::browserWatcher(const std::string& bundleID) const {
    const auto found = browserWatchers_.find(bundleID);
    return found == browserWatchers_.end() ? nullptr : found->second.get();
}

std::optional<std::string> AppMonitoringService::frontmostBundleID() {
    const auto front = workspace_.frontmostApplication();
    return front ? front->bundleIdentifier : std::nullopt;
}

std::optional<pid_t> AppMonitoringService::frontmostInstance(const std::string& bundleID) {
    const auto front = workspace_.frontmostApplication();
    return front && front->bundleIdentifier == bundleID ? std::optional(front->processIdentifier)
                                                        : std::nullopt;
}

std::optional<RedListConfig> AppMonitoringService::applicationTarget(
    const std::string& bundleID) const {
    const auto& targets = settings_.settings().redListConfigs;
    const auto found = std::ranges::find_if(targets, [&](const RedListConfig& target) {
        return target.targetType == FrictionTargetType::app && target.targetIdentifier == bundleID;
    });
    return found == targets.end() ? std::nullopt : std::optional(*found);
}

std::optional<RedListConfig> AppMonitoringService::targetFor(const std::string& bundleID) {
    return isBrowser(bundleID) ? resolveConfigForBrowser(bundleID) : applicationTarget(bundleID);
}

// --- The decision ---------------------------------------------------------------------------

void AppMonitoringService::applyEffectsForFrontmostApp(const std::string& bundleID) {
    if (isOwnApplication(bundleID)) {
        // A turtle test runs on the application's own window.
        if (turtle_.isActive() && !turtle_.isTestMode()) {
            turtle_.deactivate();
        }
        return;
    }
    noteBrowserProcess(bundleID);
    if (const auto pending = delay_.pendingDelayConfig(bundleID)) {
        const bool alreadyShown =
            delay_.isDelayOverlayActive() && delay_.currentTargetBundleID() == bundleID;
        if (!alreadyShown) {
            delay_.startDelay(*pending, bundleID, frontmostInstance(bundleID));
        }
        return;
    }
    const auto target = targetFor(bundleID);
    applyTurtle(bundleID, target);
    applyFog(bundleID, target);
}

void AppMonitoringService::noteBrowserProcess(const std::string& bundleID) {
    if (!isBrowser(bundleID)) {
        return;
    }
    const auto running = workspace_.runningApplications(bundleID);
    if (running.empty()) {
        return;
    }
    const pid_t pid = running.front().processIdentifier;
    const auto known = lastBrowserPIDs_.find(bundleID);
    if (known != lastBrowserPIDs_.end() && known->second != pid) {
        frictionLogger().info("Navigateur %s redémarré (PID %d → %d), watcher réinitialisé",
                              bundleID, known->second, pid);
        browserWatcher(bundleID)->resetState();
    }
    lastBrowserPIDs_[bundleID] = pid;
}

void AppMonitoringService::applyTurtle(const std::string& bundleID,
                                       const std::optional<RedListConfig>& target) {
    if (target && target->isTurtleEnabled) {
        if (!turtle_.isActive()) {
            if (activateTurtle(*target)) {
                frictionLogger().logUserAction(
                    "Tortue activé pour: " + platform::userData(bundleID) + " (" +
                    ours(label(target->turtleIntensity)) + ")");
            }
        } else if (target->turtleIntensity == TurtleIntensity::custom) {
            setCustomTurtleFactors(*target);
        } else {
            turtle_.updateIntensity(target->turtleIntensity);
        }
        return;
    }
    if (turtle_.isActive()) {
        turtle_.deactivate();
        frictionLogger().info("Tortue désactivé: app %s pas dans la section Cibles", bundleID);
    }
}

// The turtle logs its own failures; the polls try again while it is off, so only a turtle that
// came on is worth a line.
bool AppMonitoringService::activateTurtle(const RedListConfig& target) {
    const bool on = turtle_.activate(target.turtleIntensity, false);
    if (target.turtleIntensity == TurtleIntensity::custom) {
        setCustomTurtleFactors(target);
    }
    return on;
}

void AppMonitoringService::setCustomTurtleFactors(const RedListConfig& target) {
    const TurtleFactors custom = TurtleFactors::storedCustom(target);
    turtle_.setCustomIntensity(custom.mouse, custom.scroll);
}

void AppMonitoringService::applyFog(const std::string& bundleID,
                                    const std::optional<RedListConfig>& target) {
    if (!target || !target->isFogEnabled) {
        // A fog left on another application stays on it; only a browser that moved to a site
        // without fog loses its own.
        if (isBrowser(bundleID) && currentlyMonitoredBundleID_ == bundleID) {
            frictionLogger().info("%s: site actuel non configuré pour Buée, désactivation",
                                  bundleID);
            windowPollingTimer_.cancel();
            frictionEffects_.deactivateAllEffects();
            forgetMonitoredApplication();
        }
        return;
    }
    if (currentlyMonitoredBundleID_ == bundleID && currentConfigID_ == target->id) {
        return;
    }
    if (windowMonitor_.windows(bundleID).empty()) {
        frictionLogger().debug("Fenêtre pas encore prête pour %s - retry programmé", bundleID);
        startActivationRetry(bundleID, *target);
        return;
    }
    activationRetryTimer_.cancel();
    frictionLogger().logUserAction(
        "Activation de l'effet Buée pour: " + platform::userData(target->targetDisplayName) + " (" +
        ours(label(target->fogIntensity)) + ")");
    showFog(bundleID, *target);
}

void AppMonitoringService::showFog(const std::string& bundleID, const RedListConfig& target) {
    if (currentlyMonitoredBundleID_) {
        frictionEffects_.deactivateAllEffects();
    }
    currentlyMonitoredBundleID_ = bundleID;
    currentConfigID_ = target.id;
    // The windows may have gone in between: no fog, nothing monitored.
    if (!frictionEffects_.activateFog(bundleID, target)) {
        forgetMonitoredApplication();
        windowPollingTimer_.cancel();
        return;
    }
    startWindowPolling(bundleID);
}

void AppMonitoringService::forgetMonitoredApplication() {
    currentlyMonitoredBundleID_.reset();
    currentConfigID_.reset();
}

std::optional<RedListConfig> AppMonitoringService::resolveConfigForBrowser(
    const std::string& bundleID) {
    const auto* watcher = browserWatcher(bundleID);
    const auto domain = watcher ? watcher->currentDomain() : std::nullopt;
    frictionLogger().debug("resolveConfigForBrowser(%s): domaine = '%s'", bundleID, orNil(domain));
    if (!domain || domain->empty()) {
        return applicationTarget(bundleID);
    }
    auto target = websiteTargetFor(*domain, settings_.settings().redListConfigs);
    if (!target) {
        return applicationTarget(bundleID);
    }
    frictionLogger().debug("%s: config site '%s' (fog=%{bool}d, turtle=%{bool}d)", bundleID,
                           target->targetIdentifier, target->isFogEnabled, target->isTurtleEnabled);
    return target;
}

void AppMonitoringService::reevaluateCurrentApp() {
    if (!isMonitoring_) {
        return;
    }
    windowPollingTimer_.cancel();
    frictionEffects_.deactivateAllEffects();
    turtle_.deactivate();
    forgetMonitoredApplication();
    if (const auto delayed = delay_.currentTargetBundleID();
        delayed && !delay_.pendingDelayConfig(*delayed)) {
        delay_.cancelDelay();
    }
    if (const auto front = frontmostBundleID()) {
        applyEffectsForFrontmostApp(*front);
    }
}

void AppMonitoringService::handleDelayAccessCompleted(const Json& userInfo) {
    const auto bundleID = userInfo.find(DelayAccessService::kBundleIDKey);
    if (bundleID == userInfo.end() || !bundleID->is_string()) {
        frictionLogger().error("handleDelayAccessCompleted: bundleID manquant");
        return;
    }
    const auto id = bundleID->get<std::string>();
    frictionLogger().info("Délai d'accès terminé pour %s - activation des effets de friction", id);
    applyEffectsAfterDelay(id);
}

// No test for a fog already shown, and a pending retry is left running.
void AppMonitoringService::applyEffectsAfterDelay(const std::string& bundleID) {
    if (isOwnApplication(bundleID)) {
        return;
    }
    const auto target = targetFor(bundleID);
    if (!target) {
        return;
    }
    if (target->isTurtleEnabled && !turtle_.isActive() && activateTurtle(*target)) {
        frictionLogger().logUserAction("Tortue activé après délai pour: " +
                                       platform::userData(bundleID));
    }
    if (!target->isFogEnabled) {
        return;
    }
    if (windowMonitor_.windows(bundleID).empty()) {
        frictionLogger().debug("Fenêtre pas prête après délai pour %s - retry", bundleID);
        startActivationRetry(bundleID, *target);
        return;
    }
    frictionLogger().logUserAction("Activation Buée après délai pour: " +
                                   platform::userData(target->targetDisplayName));
    showFog(bundleID, *target);
}

// --- Monitoring -----------------------------------------------------------------------------

void AppMonitoringService::recordRunningBrowsers() {
    for (auto& [bundleID, watcher] : browserWatchers_) {
        watcher->start();
        const auto running = workspace_.runningApplications(bundleID);
        if (!running.empty()) {
            lastBrowserPIDs_[bundleID] = running.front().processIdentifier;
        }
    }
}

void AppMonitoringService::startMonitoring() {
    if (isMonitoring_) {
        return;
    }
    frictionLogger().info("Démarrage de la surveillance des apps");
    isMonitoring_ = true;
    appChangedCallback_ = windowMonitor_.addAppChangedCallback(
        kAppChangedCallbackName,
        [this](const std::optional<std::string>& bundleID, const std::optional<std::string>& name) {
            if (!bundleID) {
                return;
            }
            frictionLogger().debug("WindowMonitor: app changée → %s", name.value_or(*bundleID));
            applyEffectsForFrontmostApp(*bundleID);
        });
    terminationObserver_ = workspace_.observeTermination(
        [this](const auto& application) { handleAppTermination(application); });
    launchObserver_ =
        workspace_.observeLaunch([this](const auto& application) { handleAppLaunch(application); });
    delayCompletedObserver_ =
        notifications_.observe(DelayAccessService::kDelayAccessCompletedNotification,
                               [this](const Json& info) { handleDelayAccessCompleted(info); });
    for (auto& [bundleID, watcher] : browserWatchers_) {
        // A site change of a browser in the background waits until it comes to the front.
        watcher->onDomainChanged = [this, id = bundleID](const std::optional<std::string>&) {
            if (frontmostBundleID() == id) {
                applyEffectsForFrontmostApp(id);
            }
        };
    }
    recordRunningBrowsers();
    if (const auto& front = windowMonitor_.currentAppBundleID()) {
        applyEffectsForFrontmostApp(*front);
    }
    startFrontAppPolling();
}

void AppMonitoringService::stopMonitoring() {
    if (!isMonitoring_) {
        return;
    }
    frictionLogger().info("Arrêt de la surveillance des apps");
    isMonitoring_ = false;
    appChangedCallback_.cancel();
    windowMonitor_.removeAppChangedCallback(kAppChangedCallbackName);
    for (auto& [bundleID, watcher] : browserWatchers_) {
        watcher->onDomainChanged = nullptr;
        watcher->stop();
    }
    terminationObserver_.cancel();
    launchObserver_.cancel();
    delayCompletedObserver_.cancel();
    windowPollingTimer_.cancel();
    frontAppPollingTimer_.cancel();
    launchCheckTimer_.cancel();
    activationRetryTimer_.cancel();
    frictionEffects_.deactivateAllEffects();
    turtle_.deactivate();
    delay_.cancelDelay();
    delay_.resetCompletedDelays();
    forgetMonitoredApplication();
    lastBrowserPIDs_.clear();
}

void AppMonitoringService::handleAppLaunch(
    const std::optional<platform::RunningApplication>& application) {
    if (!application || !application->bundleIdentifier) {
        return;
    }
    const std::string& bundleID = *application->bundleIdentifier;
    frictionLogger().debug("App lancée: %s", bundleID);
    const auto target = applicationTarget(bundleID);
    if (!target) {
        return;
    }
    if (target->isDelayEnabled) {
        frictionLogger().info("App avec délai lancée: %s - overlay immédiat", bundleID);
        delay_.startDelay(*target, bundleID, application->processIdentifier);
    }
    if (target->isFogEnabled || target->isTurtleEnabled) {
        frictionLogger().info("App section Cibles lancée: %s - démarrage vérification", bundleID);
        startLaunchCheck(bundleID);
    }
}

void AppMonitoringService::handleAppTermination(
    const std::optional<platform::RunningApplication>& application) {
    if (!application || !application->bundleIdentifier) {
        return;
    }
    const std::string& bundleID = *application->bundleIdentifier;
    frictionLogger().debug("App fermée: %s", bundleID);
    // Each launch is a process of its own: the end of one instance leaves another's delay, and
    // the instances already let through stay so while one of them runs.
    const bool lastInstance = workspace_.runningApplications(bundleID).empty();
    if (delay_.currentTargetBundleID() == bundleID &&
        (lastInstance || delay_.delayedProcess() == application->processIdentifier)) {
        delay_.cancelDelay();
    }
    if (lastInstance) {
        delay_.resetCompletedDelay(bundleID);
    }
    if (isBrowser(bundleID)) {
        browserWatcher(bundleID)->resetState();
        lastBrowserPIDs_.erase(bundleID);
        frictionLogger().info("Navigateur %s fermé: watcher réinitialisé", bundleID);
    }
    if (currentlyMonitoredBundleID_ == bundleID) {
        deactivateEffectForClosedApp();
    }
}

void AppMonitoringService::deactivateEffectForClosedApp() {
    if (!currentlyMonitoredBundleID_) {
        return;
    }
    frictionLogger().info("Désactivation de l'effet (app fermée)");
    windowPollingTimer_.cancel();
    frictionEffects_.deactivateAllEffects();
    forgetMonitoredApplication();
}

// --- Timers ---------------------------------------------------------------------------------

void AppMonitoringService::startFrontAppPolling() {
    frontAppPollingTimer_ =
        loop_.every(platform::seconds(kFrontAppPollingInterval), [this] { pollFrontmostApp(); });
    frictionLogger().debug("Polling de l'app au premier plan démarré");
}

void AppMonitoringService::pollFrontmostApp() {
    const auto front = frontmostBundleID();
    if (!front) {
        return;
    }
    checkBrowserWithoutWindow(*front);
    if (currentlyMonitoredBundleID_ == front) {
        reactivateTurtleIfNeeded(*front);
    } else {
        applyEffectsForFrontmostApp(*front);
    }
}

// A browser whose last window closed still runs: its site is gone all the same.
void AppMonitoringService::checkBrowserWithoutWindow(const std::string& bundleID) {
    auto* watcher = browserWatcher(bundleID);
    if (!watcher || !watcher->currentDomain() || !windowMonitor_.windows(bundleID).empty()) {
        return;
    }
    watcher->resetState();
    frictionLogger().info("Navigateur %s sans fenêtre: watcher réinitialisé", bundleID);
    if (turtle_.isActive()) {
        turtle_.deactivate();
        frictionLogger().info("Tortue désactivée: navigateur %s sans fenêtre", bundleID);
    }
}

// The turtle switches itself off when the session disables its tap; while its target stays in
// front this brings it back within one poll.
void AppMonitoringService::reactivateTurtleIfNeeded(const std::string& bundleID) {
    if (turtle_.isActive()) {
        return;
    }
    const auto target = targetFor(bundleID);
    if (!target || !target->isTurtleEnabled) {
        return;
    }
    if (activateTurtle(*target)) {
        frictionLogger().info("Tortue réactivée après coupure système pour: %s", bundleID);
    }
}

void AppMonitoringService::startLaunchCheck(const std::string& bundleID) {
    launchCheckAttempts_ = 0;
    launchCheckTimer_ = loop_.every(platform::seconds(kLaunchCheckInterval),
                                    [this, bundleID] { launchCheckTick(bundleID); });
}

void AppMonitoringService::launchCheckTick(const std::string& bundleID) {
    ++launchCheckAttempts_;
    if (frontmostBundleID() == bundleID) {
        frictionLogger().info("App %s détectée au premier plan après %ld tentatives", bundleID,
                              static_cast<long>(launchCheckAttempts_));
        launchCheckTimer_.cancel();
        applyEffectsForFrontmostApp(bundleID);
        return;
    }
    if (launchCheckAttempts_ >= kLaunchCheckLimit) {
        frictionLogger().debug("Timeout: app %s n'est pas devenue active", bundleID);
        launchCheckTimer_.cancel();
    }
}

// The retry keeps the target it was started with rather than looking it up again.
void AppMonitoringService::startActivationRetry(const std::string& bundleID,
                                                const RedListConfig& target) {
    activationRetryAttempts_ = 0;
    activationRetryTimer_ =
        loop_.every(platform::seconds(kActivationRetryInterval),
                    [this, bundleID, target] { activationRetryTick(bundleID, target); });
}

void AppMonitoringService::activationRetryTick(const std::string& bundleID,
                                               const RedListConfig& target) {
    ++activationRetryAttempts_;
    if (frontmostBundleID() != bundleID) {
        frictionLogger().debug("App %s n'est plus au premier plan - annulation retry", bundleID);
        activationRetryTimer_.cancel();
        return;
    }
    if (!windowMonitor_.windows(bundleID).empty()) {
        frictionLogger().info("Fenêtre prête après %ld tentatives - activation",
                              static_cast<long>(activationRetryAttempts_));
        activationRetryTimer_.cancel();
        frictionLogger().logUserAction("Activation de l'effet Buée pour: " +
                                       platform::userData(target.targetDisplayName));
        showFog(bundleID, target);
        return;
    }
    if (activationRetryAttempts_ >= kActivationRetryLimit) {
        frictionLogger().error("Timeout: fenêtre jamais disponible pour %s", bundleID);
        activationRetryTimer_.cancel();
    }
}

void AppMonitoringService::startWindowPolling(const std::string& bundleID) {
    windowPollingTimer_ = loop_.every(platform::seconds(kWindowPollingInterval),
                                      [this, bundleID] { windowPollingTick(bundleID); });
}

void AppMonitoringService::windowPollingTick(const std::string& bundleID) {
    const auto windows = windowMonitor_.windows(bundleID);
    if (windows.empty()) {
        frictionLogger().debug("Aucune fenêtre trouvée pour %s", bundleID);
        deactivateEffectForClosedApp();
        checkBrowserWithoutWindow(bundleID);
        return;
    }
    if (auto& fog = frictionEffects_.fogEffect(); fog.isActive()) {
        fog.syncOverlays(windows);
    }
}

}  // namespace olvane

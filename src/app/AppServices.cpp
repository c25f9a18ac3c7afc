#include "app/AppServices.h"

#include <unistd.h>

#include "browser/NativeHostManifests.h"
#include "friction/BrowserSiteWatchers.h"
#include "friction/DelayAccessOverlayWindow.h"
#include "grayscale/GrayscaleBackend.h"
#include "grayscale/GrayscaleFilterService.h"
#include "model/Logger.h"
#include "platform/linux/GnomeExtensionList.h"

namespace olvane {

AppServices::AppServices(PlatformBackends backends, AppState& appState, MenuBarPresence& menuBar,
                         std::function<void()> terminate)
    : platform_(std::move(backends)),
      appState_(appState),
      settings_(platform_.defaults, platform_.clock),
      rulesFile_(platform_.paths),
      framebuffer_(platform_.display),
      accessibility_(platform_.grayscaleSwitch, platform_.accessibilityTrust),
      watchdog_(platform_.paths, platform_.userServices, platform_.detachedProcesses,
                platform_.loop, platform_.clock, platform_.watchdogExecutable),
      loginItem_(platform_.loginItems, settings_),
      windowMonitor_(platform_.workspace, platform_.windowServer,
                     FrontmostAppMirror{appState.currentAppBundleID, appState.currentAppName}),
      turtle_({platform_.loop, platform_.eventTap, platform_.keys, platform_.eventTapTrust,
               [this](bool prompt) {
                   return checkAccessibilityPermissions(platform_.eventTapTrust, prompt);
               },
               ActiveEffects(appState.activeFrictionEffects)}),
      frictionEffects_(
          {windowMonitor_,
           turtle_,
           ActiveEffects(appState.activeFrictionEffects),
           {platform_.fogWindows, platform_.frameClock, platform_.pointer, platform_.clock}}),
      delayAccess_(
          settings_, notifications_,
          std::make_unique<DelayAccessOverlayWindow>(DelayAccessOverlayWindow::Collaborators{
              platform_.loop, platform_.workspace, platform_.windowServer, platform_.delayPanels,
              platform::Paths::kApplicationId})),
      appMonitoring_(
          {platform_.loop, settings_, platform_.workspace, windowMonitor_, frictionEffects_,
           turtle_, delayAccess_, notifications_,
           makeBrowserSiteWatchers(
               {platform_.loop, platform_.files, platform_.workspace, notifications_},
               rulesFile_.appSupportDirectory(), availableSharedContainer(platform_.paths)),
           platform::Paths::kApplicationId}),
      hotkeys_(platform_.loop, platform_.keys, platform_.accessibilityTrust),
      exports_(settings_, rulesFile_),
      crashRecovery_(settings_, platform_.defaults, appState.isGrayscaleFilterEnabled, *this),
      extensionAccompaniment_({settings_, appState.showWebExtensionPrompt, appState.extensionStatus,
                               [&appState] {
                                   return appState.selectedNavigationItem() ==
                                          NavigationItem::configurateur;
                               },
                               [this] { return isFrontmost(); }}),
      extensionStatus_({platform_.loop, platform_.clock, platform_.workspace,
                        platform_.windowServer, platform_.systemEvents, notifications_,
                        platform_.safariExtensions, settings_, appState.extensionStatus,
                        extensionAccompaniment_, platform_.paths.dataFolder(),
                        [this](const std::string& id) { resetBrowserSiteWatcher(id); }}),
      uninstall_(UninstallService::Collaborators{
          platform_.loop, platform_.clock, platform_.paths, appState.isGrayscaleFilterEnabled,
          *this, crashRecovery_, rulesFile_, platform_.defaults, platform_.trash, platform_.bundle,
          std::move(terminate)}),
      delegate_(appState, settings_, crashRecovery_, *this, menuBar) {}

AppServices::~AppServices() = default;

GrayscaleFilterService& AppServices::grayscale() {
    if (!grayscale_) {
        grayscale_ = std::make_unique<GrayscaleFilterService>(GrayscaleFilterService::Collaborators{
            platform_.loop, platform_.clock, platform_.files, platform_.paths, settings_,
            GrayscaleAppState{appState_.isGrayscaleFilterEnabled, appState_.isPaused,
                              appState_.pauseRemainingSeconds, appState_.currentAppBundleID},
            rulesFile_, framebuffer_, accessibility_, windowMonitor_, platform_.workspace,
            platform_.systemEvents});
    }
    return *grayscale_;
}

void AppServices::logPlatformChoices() {
    platform_.logChoices();
}

void AppServices::probeFramebuffer() {
    // A failed probe only means the other back-end serves.
    (void)framebuffer_.probe();
}

void AppServices::resetLeftoverGrayscale() {
    GrayscaleBackend(framebuffer_, accessibility_).resetLeftoverGrayscale();
}

void AppServices::installCrashSignalHandlers() {
    FramebufferService::installSignalHandlers();
}

bool AppServices::isProcessTrustedForAccessibility() {
    return platform_.accessibilityTrust.isProcessTrusted();
}

void AppServices::promptForAccessibility() {
    (void)accessibility_.checkAccessibilityPermissions(true);
}

void AppServices::enableGrayscale() {
    grayscale().enable();
}

void AppServices::forceDisableGrayscale() {
    grayscale().forceDisable();
}

bool AppServices::desktopKeepsUserValues() {
    return platform_.grayscaleSwitch.keepsUserValues();
}

bool AppServices::desktopGivesUserValuesBackLater() {
    return accessibility_.givesUserValuesBackLater();
}

void AppServices::pauseGrayscale(std::int64_t seconds) {
    grayscale().pause(seconds);
}

void AppServices::stopGrayscaleCommandWatchers() {
    if (grayscale_) {
        grayscale_->stopCommandFileWatchers();
    }
}

void AppServices::writeWatchdogPID() {
    watchdog_.writePID();
}

void AppServices::registerWatchdogAgent() {
    watchdog_.registerAgent();
}

void AppServices::clearWatchdogPID() {
    watchdog_.clearPID();
}

void AppServices::unregisterWatchdogAgent() {
    watchdog_.unregisterAgent();
}

void AppServices::syncLoginItemWithSettings() {
    loginItem_.syncWithSettings();
}

void AppServices::disableLoginItem() {
    (void)loginItem_.disable();
    // An entry the desktop switched off counts as disabled, yet is still on disk; and the
    // session also starts the program from the entries the user made.
    loginItem_.removeEveryEntry();
}

void AppServices::forgetGnomeExtension() {
    platform::ComposedText failure;
    auto* settings = platform::os::GSettingsKeys::shared(&failure);
    if (!settings) {
        Logger::app().logError("Extension GNOME Shell laissée parmi les extensions activées",
                               platform::os::gsettingsModuleFailureText(failure));
        return;
    }
    if (const auto forgotten =
            platform::os::forgetEnabledGnomeExtension(*settings, OLVANE_GNOME_EXTENSION_UUID);
        !forgotten) {
        Logger::app().logError("Extension GNOME Shell", forgotten);
    }
}

void AppServices::startWindowMonitoring() {
    windowMonitor_.startMonitoring();
}

void AppServices::stopWindowMonitoring() {
    windowMonitor_.stopMonitoring();
}

void AppServices::startHotkeyMonitoring() {
    hotkeys_.startMonitoring();
}

void AppServices::stopHotkeyMonitoring() {
    hotkeys_.stopMonitoring();
}

void AppServices::setHotkeyCallbacks(std::function<void()> onPause5Minutes,
                                     std::function<void()> onPause3Seconds) {
    hotkeys_.onPause5Minutes = std::move(onPause5Minutes);
    hotkeys_.onPause3Seconds = std::move(onPause3Seconds);
}

void AppServices::cleanLegacyRulesKeys() {
    exports_.cleanLegacyKeys();
}

void AppServices::exportRedListConfigAtLaunch() {
    exports_.exportRedListConfigAtLaunch();
}

void AppServices::exportContentRulesAtLaunch() {
    exports_.exportContentRulesAtLaunch();
}

void AppServices::recordRunningBrowsers() {
    appMonitoring_.recordRunningBrowsers();
}

void AppServices::startAppMonitoring() {
    appMonitoring_.startMonitoring();
}

void AppServices::stopAppMonitoring() {
    appMonitoring_.stopMonitoring();
}

void AppServices::forceCleanupFrictionEffects() {
    frictionEffects_.forceCleanup();
}

void AppServices::installNativeHostManifests() {
    (void)olvane::installNativeHostManifests(
        {platform_.paths, platform_.hostExecutable, InstalledBrowsers::detect()});
}

void AppServices::uninstallNativeHostManifests() {
    (void)olvane::uninstallNativeHostManifests(platform_.paths);
}

void AppServices::startExtensionStatus() {
    extensionStatus_.start();
}

void AppServices::stopExtensionStatus() {
    extensionStatus_.stop();
}

bool AppServices::isFrontmost() const {
    const auto front = platform_.workspace.frontmostApplication();
    return front && front->processIdentifier == ::getpid();
}

void AppServices::resetBrowserSiteWatcher(const std::string& bundleID) {
    if (auto* watcher = appMonitoring_.browserWatcher(bundleID)) {
        watcher->resetState();
    }
}

}  // namespace olvane

#pragma once

#include <functional>
#include <memory>

#include "app/AppDelegate.h"
#include "app/AppState.h"
#include "app/CrashRecoveryService.h"
#include "app/LoginItemManager.h"
#include "app/PlatformBackends.h"
#include "app/ServiceControls.h"
#include "app/StartupExports.h"
#include "app/UninstallService.h"
#include "app/WatchdogManager.h"
#include "browser/ExtensionAccompanimentCoordinator.h"
#include "browser/ExtensionStatusService.h"
#include "friction/AppMonitoringService.h"
#include "friction/DelayAccessService.h"
#include "friction/FrictionEffectsService.h"
#include "friction/TurtleEffectService.h"
#include "friction/WindowMonitorService.h"
#include "grayscale/AccessibilityBridge.h"
#include "grayscale/FramebufferService.h"
#include "grayscale/HotkeyManager.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "platform/NotificationCenter.h"

namespace olvane {

class GrayscaleFilterService;
class MenuBarPresence;

// The composition root: builds the application's object graph once, over the given platform,
// and hands the lifecycle's calls to the services. The grayscale filter is made on first use
// only, so that its watchers run only once something needs it.
class AppServices final : public ServiceControls {
  public:
    // `terminate` asks the program to end (the uninstall's last step).
    AppServices(PlatformBackends backends, AppState& appState, MenuBarPresence& menuBar,
                std::function<void()> terminate);
    ~AppServices() override;
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    AppDelegate& delegate() { return delegate_; }
    UninstallService& uninstallService() { return uninstall_; }
    SettingsManager& settings() { return settings_; }
    const RulesFileService& rulesFile() const { return rulesFile_; }
    CrashRecoveryService& crashRecovery() { return crashRecovery_; }
    WindowMonitorService& windowMonitor() { return windowMonitor_; }
    TurtleEffectService& turtle() { return turtle_; }
    FrictionEffectsService& frictionEffects() { return frictionEffects_; }
    DelayAccessService& delayAccess() { return delayAccess_; }
    AppMonitoringService& appMonitoring() { return appMonitoring_; }
    // The in-process notifications ("browserExtensionMessageReceived", "delayAccessCompleted").
    platform::NotificationCenter& notifications() { return notifications_; }
    // The extension prompts; the pages report their web features to it.
    ExtensionAccompanimentCoordinator& extensionAccompaniment() { return extensionAccompaniment_; }
    ExtensionStatusService& extensionStatus() { return extensionStatus_; }
    // Made by this call when it is the first use.
    GrayscaleFilterService& grayscale();
    bool hasGrayscale() const { return static_cast<bool>(grayscale_); }

    void logPlatformChoices() override;
    void probeFramebuffer() override;
    void resetLeftoverGrayscale() override;
    void installCrashSignalHandlers() override;
    bool isProcessTrustedForAccessibility() override;
    void promptForAccessibility() override;
    void enableGrayscale() override;
    void forceDisableGrayscale() override;
    bool desktopKeepsUserValues() override;
    bool desktopGivesUserValuesBackLater() override;
    void pauseGrayscale(std::int64_t seconds) override;
    void stopGrayscaleCommandWatchers() override;
    void writeWatchdogPID() override;
    void registerWatchdogAgent() override;
    void clearWatchdogPID() override;
    void unregisterWatchdogAgent() override;
    void syncLoginItemWithSettings() override;
    void disableLoginItem() override;
    void forgetGnomeExtension() override;
    void startWindowMonitoring() override;
    void stopWindowMonitoring() override;
    void startHotkeyMonitoring() override;
    void stopHotkeyMonitoring() override;
    void setHotkeyCallbacks(std::function<void()> onPause5Minutes,
                            std::function<void()> onPause3Seconds) override;
    void recordRunningBrowsers() override;
    void startAppMonitoring() override;
    void stopAppMonitoring() override;
    void forceCleanupFrictionEffects() override;
    void installNativeHostManifests() override;
    void uninstallNativeHostManifests() override;
    void startExtensionStatus() override;
    void stopExtensionStatus() override;
    void cleanLegacyRulesKeys() override;
    void exportRedListConfigAtLaunch() override;
    void exportContentRulesAtLaunch() override;

  private:
    bool isFrontmost() const;
    void resetBrowserSiteWatcher(const std::string& bundleID);

    PlatformBackends platform_;
    AppState& appState_;
    platform::NotificationCenter notifications_;
    SettingsManager settings_;
    RulesFileService rulesFile_;
    FramebufferService framebuffer_;
    AccessibilityBridge accessibility_;
    WatchdogManager watchdog_;
    LoginItemManager loginItem_;
    WindowMonitorService windowMonitor_;
    TurtleEffectService turtle_;
    FrictionEffectsService frictionEffects_;
    DelayAccessService delayAccess_;
    AppMonitoringService appMonitoring_;
    HotkeyManager hotkeys_;
    StartupExports exports_;
    CrashRecoveryService crashRecovery_;
    ExtensionAccompanimentCoordinator extensionAccompaniment_;
    ExtensionStatusService extensionStatus_;
    // After the window monitor it registers with, so it goes first.
    std::unique_ptr<GrayscaleFilterService> grayscale_;
    UninstallService uninstall_;
    AppDelegate delegate_;
};

}  // namespace olvane

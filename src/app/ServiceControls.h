#pragma once

#include <cstdint>
#include <functional>

namespace olvane {

// What the start-up, the shutdown, the crash clean-up and the uninstall ask of the services. The
// composition root hands each call to its service; a service that is not part of the program
// yet leaves its calls without effect. Every call reports its own failures in the log.
class ServiceControls {
  public:
    virtual ~ServiceControls() = default;

    // Says in the log which real or simulated implementation serves each part of the platform.
    virtual void logPlatformChoices() = 0;

    // The display back-ends.
    virtual void probeFramebuffer() = 0;
    // Colour back where the display holds our own grayscale, or where the desktop's switch still
    // keeps the user's values, for a start with the filter off: a run killed together with its
    // watchdog left them there. The user's own setting stays; a desktop the crash check's forced
    // reset already asked is not asked twice.
    virtual void resetLeftoverGrayscale() = 0;
    virtual void installCrashSignalHandlers() = 0;
    virtual bool isProcessTrustedForAccessibility() = 0;
    // Shows the desktop's permission prompt.
    virtual void promptForAccessibility() = 0;

    // The grayscale filter, made by the first of these calls that needs it.
    virtual void enableGrayscale() = 0;
    // Colour by every means, the user's intention kept.
    virtual void forceDisableGrayscale() = 0;
    // Whether the desktop's grayscale switch still keeps the user's own settings, which a switch
    // off could not give back.
    virtual bool desktopKeepsUserValues() = 0;
    // Whether this run tries again to give them back, another program holding their file.
    virtual bool desktopGivesUserValuesBackLater() = 0;
    virtual void pauseGrayscale(std::int64_t seconds) = 0;
    // Stops its command-file watchers and their pending re-arm; a filter never made stays so.
    virtual void stopGrayscaleCommandWatchers() = 0;

    // The watchdog agent and the login item.
    virtual void writeWatchdogPID() = 0;
    virtual void registerWatchdogAgent() = 0;
    virtual void clearWatchdogPID() = 0;
    virtual void unregisterWatchdogAgent() = 0;
    // Takes OlvaneMac's GNOME Shell extension out of the extensions the user has enabled (its
    // files go with the application).
    virtual void forgetGnomeExtension() = 0;
    // Brings the login item in line with the stored `launchAtLogin`.
    virtual void syncLoginItemWithSettings() = 0;
    virtual void disableLoginItem() = 0;

    // Following the user's applications and keys.
    virtual void startWindowMonitoring() = 0;
    virtual void stopWindowMonitoring() = 0;
    virtual void startHotkeyMonitoring() = 0;
    virtual void stopHotkeyMonitoring() = 0;
    // Replaces the two pause callbacks.
    virtual void setHotkeyCallbacks(std::function<void()> onPause5Minutes,
                                    std::function<void()> onPause3Seconds) = 0;

    // The friction engine.
    virtual void recordRunningBrowsers() = 0;
    virtual void startAppMonitoring() = 0;
    virtual void stopAppMonitoring() = 0;
    // Fog windows and the turtle tap go, the set of active effects is emptied.
    virtual void forceCleanupFrictionEffects() = 0;

    // The browser side.
    virtual void installNativeHostManifests() = 0;
    virtual void uninstallNativeHostManifests() = 0;
    virtual void startExtensionStatus() = 0;
    virtual void stopExtensionStatus() = 0;

    // The rules file, from the stored settings.
    virtual void cleanLegacyRulesKeys() = 0;
    virtual void exportRedListConfigAtLaunch() = 0;
    virtual void exportContentRulesAtLaunch() = 0;
};

}  // namespace olvane

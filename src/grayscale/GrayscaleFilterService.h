#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "grayscale/CommandFileWatchers.h"
#include "grayscale/GrayscaleAppState.h"
#include "grayscale/GrayscaleBackend.h"
#include "grayscale/WakeRechecks.h"
#include "grayscale/WakeWatch.h"
#include "platform/Handle.h"

namespace olvane {

class AccessibilityBridge;
class FramebufferService;
class RulesFileService;
class SettingsManager;
class WindowMonitorService;

namespace platform {
class Paths;
class Workspace;
}  // namespace platform

// Decides whether the screen is grey at this moment and drives the display back-ends so. It
// keeps apart the user's intention (stored in the settings, shown in AppState), the temporary
// suspensions while that intention stays on (an allowed application in front, an allowed site
// or a fullscreen video reported by a browser, the login session handed to another user) and a
// timed pause. Everything runs on the run loop's thread.
//
// The display is grey only while the filter is on, no pause runs, the session is ours, the
// application in front is not allowed and no browser holds a site or video suspension; every
// path that turns grey on checks all of these.
class GrayscaleFilterService {
  public:
    struct Collaborators {
        platform::RunLoop& loop;
        const platform::Clock& clock;
        platform::FileWatcher& files;
        const platform::Paths& paths;
        SettingsManager& settings;
        GrayscaleAppState appState;
        const RulesFileService& rulesFile;
        FramebufferService& framebuffer;
        AccessibilityBridge& accessibility;
        WindowMonitorService& windowMonitor;
        platform::Workspace& workspace;
        platform::SystemEvents& systemEvents;
    };

    static constexpr const char* kAppChangedCallbackId = "GrayscaleFilterService";

    // Starts, in this order: the application-change callback, the four command-file watchers,
    // the "_grayscale" section of the rules file, the wake watch, the session observers. Made on
    // first use, so none of these runs before something needs the filter.
    explicit GrayscaleFilterService(Collaborators collaborators);
    GrayscaleFilterService(const GrayscaleFilterService&) = delete;
    GrayscaleFilterService& operator=(const GrayscaleFilterService&) = delete;

    // The user's switch.
    void enable();
    void disable();
    // Colour at once by every means, leaving the stored intention as it is (quit, crash
    // clean-up, uninstall).
    void forceDisable();

    // Suspends the filter for an allowed application in front, or lifts that suspension.
    void checkAllowedApp();

    void pause(std::int64_t seconds);
    void resumeFromPause();
    void cancelPause();
    void pauseTimerTick();

    void addAllowedApp(const std::string& bundleID);
    void removeAllowedApp(const std::string& bundleID);
    void addAllowedSite(std::string_view typed);
    void removeAllowedSite(const std::string& site);
    // Writes the stored allowed sites into the "_grayscale" section of the rules file, for
    // callers that changed them in the settings themselves.
    void exportAllowedSites() const;

    // The uninstall, before it deletes the folders the watchers would seed again.
    void stopCommandFileWatchers() { commandWatchers_.stop(); }

    // From the browser side's command files.
    void applyGrayscaleCommand(const exchange::GrayscaleCommand& command, CommandOrigin origin);
    void applyFullscreenCommand(const exchange::FullscreenCommand& command, CommandOrigin origin);

    // Wake, unlock and display arrival; the re-check that follows each.
    void handleWakeEvent();
    void verifyGrayscaleAfterWake();
    void sessionDidResignActive();
    void sessionDidBecomeActive();
    void handleAppChanged(const std::optional<std::string>& appName);
    // The user switched the desktop's grayscale off through the desktop itself.
    void desktopSwitchedOffElsewhere();

    bool isTemporarilyDisabled() const { return isTemporarilyDisabled_; }
    bool isDisabledForAllowedSite() const { return isDisabledForAllowedSite_; }
    bool isDisabledForFullscreenVideo() const { return isDisabledForFullscreenVideo_; }
    bool sessionSuspendedGrayscale() const { return sessionSuspendedGrayscale_; }
    bool isPauseTimerRunning() const { return static_cast<bool>(pauseTimer_); }
    std::int64_t wakeID() const { return wakeRechecks_.wakeID(); }
    const CommandFileWatchers& commandFileWatchers() const { return commandWatchers_; }

  private:
    bool isFilterOn() const { return appState_.isGrayscaleFilterEnabled(); }
    bool isPaused() const { return appState_.isPaused(); }
    bool isFrontAppAllowed() const;
    // Nothing holds the display in colour.
    bool shouldBeGrey() const;
    // Grey, when nothing holds the display in colour.
    void restoreIfNothingHolds();
    void switchOn();
    void switchOff();
    // The end of a pause: grey again, or the allowed-application check decides.
    void restoreAfterPause(bool logRestore);
    void mutateAllowedApps(const std::string& bundleID, bool add);
    void recordLastKnownState(bool filterOn) const;
    void setupSleepWakeWatchdog();
    void setupFastUserSwitchingObservers();
    bool isFirefoxRunning() const;
    // The filter off in AppState, every suspension and pause dropped; the intention stays.
    void markOff();

    platform::RunLoop& loop_;
    SettingsManager& settings_;
    GrayscaleAppState appState_;
    const RulesFileService& rulesFile_;
    WindowMonitorService& windowMonitor_;
    platform::Workspace& workspace_;
    platform::SystemEvents& systemEvents_;
    GrayscaleBackend backend_;

    bool isTemporarilyDisabled_ = false;
    bool isDisabledForAllowedSite_ = false;
    bool isDisabledForFullscreenVideo_ = false;
    bool sessionSuspendedGrayscale_ = false;
    platform::Handle pauseTimer_;
    platform::Handle pendingTick_;

    CommandFileWatchers commandWatchers_;
    WakeRechecks wakeRechecks_;
    WakeWatch wakeWatch_;
    platform::Handle sessionResigned_;
    platform::Handle sessionActivated_;
    platform::Handle desktopSwitchedOff_;
    // Last: dropped first, so no application change reaches a service being taken apart.
    platform::Handle appChanged_;
};

}  // namespace olvane

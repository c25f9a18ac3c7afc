#pragma once

#include <sys/types.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "friction/BrowserSiteWatcher.h"
#include "friction/DelayAccessService.h"
#include "friction/FrictionEffectsService.h"
#include "friction/TurtleEffectService.h"
#include "friction/WindowMonitorService.h"
#include "model/RedListConfig.h"
#include "model/SettingsManager.h"
#include "model/Uuid.h"
#include "platform/Handle.h"
#include "platform/Json.h"
#include "platform/NotificationCenter.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"

namespace olvane {

// Decides which friction effects apply to the application in front and, for a browser, to the
// site it shows, and follows applications over time: launches, terminations, the front
// application, a target's windows appearing late or going away. It draws nothing itself: it
// drives the delay, the fog and the turtle.
class AppMonitoringService {
  public:
    using BrowserWatchers = std::map<std::string, std::unique_ptr<BrowserSiteWatcher>>;

    struct Collaborators {
        platform::RunLoop& loop;
        const SettingsManager& settings;
        platform::Workspace& workspace;
        WindowMonitorService& windowMonitor;
        FrictionEffectsService& frictionEffects;
        TurtleEffectService& turtle;
        DelayAccessService& delay;
        platform::NotificationCenter& notifications;
        // Keyed by their browser's application ID.
        BrowserWatchers browserWatchers;
        // This application's own ID: its windows never get an effect.
        std::string ownBundleID;
    };

    static constexpr const char* kAppChangedCallbackName = "AppMonitoringService";
    static constexpr double kWindowPollingInterval = 0.1;
    static constexpr double kFrontAppPollingInterval = 0.5;
    static constexpr double kLaunchCheckInterval = 0.2;
    static constexpr int kLaunchCheckLimit = 15;
    static constexpr double kActivationRetryInterval = 0.3;
    static constexpr int kActivationRetryLimit = 17;

    explicit AppMonitoringService(Collaborators collaborators);
    ~AppMonitoringService();
    AppMonitoringService(const AppMonitoringService&) = delete;
    AppMonitoringService& operator=(const AppMonitoringService&) = delete;

    // The decision for the application `bundleID` in front: own application, browser restart,
    // pending delay (which ends the decision), target lookup, turtle, fog.
    void applyEffectsForFrontmostApp(const std::string& bundleID);
    // The target of the browser's current site, else the browser's own application target.
    std::optional<RedListConfig> resolveConfigForBrowser(const std::string& bundleID);
    // After a change of the targets: fog and turtle are torn down, a delay that no longer
    // applies is cancelled, and the application in front is decided again.
    void reevaluateCurrentApp();
    // With {"bundleID": <ID>}: the delay of that application was completed.
    void handleDelayAccessCompleted(const Json& userInfo);
    void applyEffectsAfterDelay(const std::string& bundleID);

    // Starts the site watchers and notes the running browsers' processes.
    void recordRunningBrowsers();
    void startMonitoring();
    // Ends every observation and timer and removes fog, turtle and delay.
    void stopMonitoring();
    bool isMonitoring() const { return isMonitoring_; }

    void handleAppLaunch(const std::optional<platform::RunningApplication>& application);
    void handleAppTermination(const std::optional<platform::RunningApplication>& application);
    // Removes the fog of the monitored application; the turtle is left as it is.
    void deactivateEffectForClosedApp();

    // The application whose windows carry the fog, and the target that fog is for.
    const std::optional<std::string>& currentlyMonitoredBundleID() const {
        return currentlyMonitoredBundleID_;
    }
    const std::optional<Uuid>& currentConfigID() const { return currentConfigID_; }
    // Null for an application that is not one of the browsers.
    BrowserSiteWatcher* browserWatcher(const std::string& bundleID) const;

  private:
    bool isBrowser(const std::string& bundleID) const;
    bool isOwnApplication(const std::string& bundleID) const;
    std::optional<std::string> frontmostBundleID();
    std::optional<pid_t> frontmostInstance(const std::string& bundleID);
    // The first application target with that ID.
    std::optional<RedListConfig> applicationTarget(const std::string& bundleID) const;
    // The target of the application, or of its current site for a browser.
    std::optional<RedListConfig> targetFor(const std::string& bundleID);
    void noteBrowserProcess(const std::string& bundleID);
    void applyTurtle(const std::string& bundleID, const std::optional<RedListConfig>& target);
    void applyFog(const std::string& bundleID, const std::optional<RedListConfig>& target);
    // Switches the turtle on at the target's intensity; true when it is on.
    bool activateTurtle(const RedListConfig& target);
    void setCustomTurtleFactors(const RedListConfig& target);
    // Moves the fog onto the application's windows and follows them.
    void showFog(const std::string& bundleID, const RedListConfig& target);
    void forgetMonitoredApplication();

    void startFrontAppPolling();
    void startLaunchCheck(const std::string& bundleID);
    void startActivationRetry(const std::string& bundleID, const RedListConfig& target);
    void startWindowPolling(const std::string& bundleID);
    void pollFrontmostApp();
    void launchCheckTick(const std::string& bundleID);
    void activationRetryTick(const std::string& bundleID, const RedListConfig& target);
    void windowPollingTick(const std::string& bundleID);
    void checkBrowserWithoutWindow(const std::string& bundleID);
    void reactivateTurtleIfNeeded(const std::string& bundleID);

    platform::RunLoop& loop_;
    const SettingsManager& settings_;
    platform::Workspace& workspace_;
    WindowMonitorService& windowMonitor_;
    FrictionEffectsService& frictionEffects_;
    TurtleEffectService& turtle_;
    DelayAccessService& delay_;
    platform::NotificationCenter& notifications_;
    BrowserWatchers browserWatchers_;
    std::string ownBundleID_;

    bool isMonitoring_ = false;
    std::optional<std::string> currentlyMonitoredBundleID_;
    std::optional<Uuid> currentConfigID_;
    std::map<std::string, pid_t> lastBrowserPIDs_;
    int launchCheckAttempts_ = 0;
    int activationRetryAttempts_ = 0;

    platform::Handle windowPollingTimer_;
    platform::Handle frontAppPollingTimer_;
    platform::Handle launchCheckTimer_;
    platform::Handle activationRetryTimer_;
    platform::Handle appChangedCallback_;
    platform::Handle launchObserver_;
    platform::Handle terminationObserver_;
    platform::Handle delayCompletedObserver_;
};

}  // namespace olvane

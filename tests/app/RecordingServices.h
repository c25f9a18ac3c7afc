#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/MenuBarPresence.h"
#include "app/ServiceControls.h"
#include "platform/LogRouter.h"
#include "platform/Observable.h"

namespace olvane::test {

// One sequence of what happened: service calls ("enableGrayscale") and log lines
// ("App: Initialisation terminée") in the order they came.
struct Timeline {
    std::vector<std::string> entries;
    void add(std::string entry) { entries.push_back(std::move(entry)); }
};

// Puts the log lines of some categories into a timeline, as "<category>: <text>", for the life
// of the object.
class TimelineLog {
  public:
    TimelineLog(Timeline& timeline, std::set<std::string> categories,
                platform::LogLevel minimum = platform::LogLevel::Debug);
    ~TimelineLog();
    TimelineLog(const TimelineLog&) = delete;
    TimelineLog& operator=(const TimelineLog&) = delete;

  private:
    std::shared_ptr<platform::LogSink> sink_;
};

// Services that only write down the calls they get. The grayscale calls keep the filter's
// state as the real filter would.
class RecordingServices final : public ServiceControls, public MenuBarPresence {
  public:
    RecordingServices(Timeline& timeline, platform::Observable<bool>& isGrayscaleFilterEnabled)
        : timeline_(timeline), filterOn_(isGrayscaleFilterEnabled) {}

    bool trusted = true;
    bool desktopKeepsValues = false;
    bool desktopGivesValuesBackLater = false;
    std::vector<std::int64_t> pauses;
    std::function<void()> onPause5Minutes;
    std::function<void()> onPause3Seconds;
    // Runs inside the named call, after it was written down.
    std::function<void(const std::string&)> during;

    void logPlatformChoices() override { record("logPlatformChoices"); }
    void probeFramebuffer() override { record("probeFramebuffer"); }
    void resetLeftoverGrayscale() override { record("resetLeftoverGrayscale"); }
    void installCrashSignalHandlers() override { record("installCrashSignalHandlers"); }
    bool isProcessTrustedForAccessibility() override {
        record("isProcessTrustedForAccessibility");
        return trusted;
    }
    void promptForAccessibility() override { record("promptForAccessibility"); }
    void enableGrayscale() override {
        record("enableGrayscale");
        filterOn_.set(true);
    }
    void forceDisableGrayscale() override {
        record("forceDisableGrayscale");
        filterOn_.set(false);
    }
    bool desktopKeepsUserValues() override { return desktopKeepsValues; }
    bool desktopGivesUserValuesBackLater() override { return desktopGivesValuesBackLater; }
    void pauseGrayscale(std::int64_t seconds) override {
        record("pauseGrayscale");
        pauses.push_back(seconds);
    }
    void stopGrayscaleCommandWatchers() override { record("stopGrayscaleCommandWatchers"); }
    void writeWatchdogPID() override { record("writeWatchdogPID"); }
    void registerWatchdogAgent() override { record("registerWatchdogAgent"); }
    void clearWatchdogPID() override { record("clearWatchdogPID"); }
    void unregisterWatchdogAgent() override { record("unregisterWatchdogAgent"); }
    void syncLoginItemWithSettings() override { record("syncLoginItemWithSettings"); }
    void disableLoginItem() override { record("disableLoginItem"); }
    void forgetGnomeExtension() override { record("forgetGnomeExtension"); }
    void startWindowMonitoring() override { record("startWindowMonitoring"); }
    void stopWindowMonitoring() override { record("stopWindowMonitoring"); }
    void startHotkeyMonitoring() override { record("startHotkeyMonitoring"); }
    void stopHotkeyMonitoring() override { record("stopHotkeyMonitoring"); }
    void setHotkeyCallbacks(std::function<void()> pause5Minutes,
                            std::function<void()> pause3Seconds) override {
        record("setHotkeyCallbacks");
        onPause5Minutes = std::move(pause5Minutes);
        onPause3Seconds = std::move(pause3Seconds);
    }
    void recordRunningBrowsers() override { record("recordRunningBrowsers"); }
    void startAppMonitoring() override { record("startAppMonitoring"); }
    void stopAppMonitoring() override { record("stopAppMonitoring"); }
    void forceCleanupFrictionEffects() override { record("forceCleanupFrictionEffects"); }
    void installNativeHostManifests() override { record("installNativeHostManifests"); }
    void uninstallNativeHostManifests() override { record("uninstallNativeHostManifests"); }
    void startExtensionStatus() override { record("startExtensionStatus"); }
    void stopExtensionStatus() override { record("stopExtensionStatus"); }
    void cleanLegacyRulesKeys() override { record("cleanLegacyRulesKeys"); }
    void exportRedListConfigAtLaunch() override { record("exportRedListConfigAtLaunch"); }
    void exportContentRulesAtLaunch() override { record("exportContentRulesAtLaunch"); }

    void setupMenuBar() override { record("setupMenuBar"); }
    void updateStatusItemIcon() override { record("updateStatusItemIcon"); }
    void hideExtensionWarning() override { record("hideExtensionWarning"); }

  private:
    void record(const std::string& call) {
        timeline_.add(call);
        if (during) {
            during(call);
        }
    }

    Timeline& timeline_;
    platform::Observable<bool>& filterOn_;
};

}  // namespace olvane::test

#pragma once

#include <map>

#include "browser/ExtensionAccompanimentCoordinator.h"
#include "browser/ExtensionStatusService.h"
#include "model/SettingsManager.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "platform/sim/ScriptedSystemEvents.h"
#include "platform/sim/SimSafariExtensionManager.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"
#include "support/TempHome.h"

namespace olvane::test {

// The status service and the prompts over simulated browsers, windows and time, with the status
// files in a temporary home.
struct ExtensionStatusFixture {
    static constexpr pid_t kFirefoxPid = 100;
    static constexpr pid_t kChromePid = 200;
    static constexpr pid_t kSafariPid = 300;

    double now() { return loop.clock().unixNow(); }
    // The browser starts `secondsAgo` before now, with a large window when asked.
    void launch(BrowserType browser, double secondsAgo, bool withWindow = true);
    void addWindow(pid_t pid, double width, double height, int layer = 0);
    // The host writes the file with a time stamp `secondsAgo` before now.
    void writeStatusFile(BrowserType browser, const char* kind, double secondsAgo);
    ExtensionStatus status(BrowserType browser) const { return extensionStatus().at(browser); }

    TempHome home;
    platform::Paths paths = home.paths();
    platform::sim::ManualRunLoop loop;
    platform::sim::SimWorkspace workspace;
    platform::sim::SimWindowServer windows;
    platform::sim::ScriptedSystemEvents systemEvents;
    platform::NotificationCenter notifications;
    platform::sim::SimSafariExtensionManager safari;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings{store, loop.clock()};
    platform::Observable<bool> showWebExtensionPrompt{false};
    platform::Observable<std::map<BrowserType, ExtensionStatus>> extensionStatus{
        {{BrowserType::firefox, ExtensionStatus::browserNotRunning},
         {BrowserType::safari, ExtensionStatus::browserNotRunning},
         {BrowserType::chrome, ExtensionStatus::browserNotRunning}}};
    bool guidedConfigurationShown = false;
    bool applicationActive = false;
    ExtensionAccompanimentCoordinator coordinator{
        {settings, showWebExtensionPrompt, extensionStatus,
         [this] { return guidedConfigurationShown; }, [this] { return applicationActive; }}};
    std::vector<std::string> resetWatchers;
    ExtensionStatusService service{
        {loop, loop.clock(), workspace, windows, systemEvents, notifications, safari, settings,
         extensionStatus, coordinator, paths.dataFolder(),
         [this](const std::string& id) { resetWatchers.push_back(id); }}};
};

}  // namespace olvane::test

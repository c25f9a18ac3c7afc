#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "model/BrowserType.h"
#include "model/ExtensionStatus.h"
#include "platform/Clock.h"
#include "platform/Handle.h"
#include "platform/NotificationCenter.h"
#include "platform/Observable.h"
#include "platform/QueuedTasks.h"
#include "platform/RunLoop.h"
#include "platform/SafariExtensionManager.h"
#include "platform/SystemEvents.h"
#include "platform/WindowServer.h"
#include "platform/Workspace.h"

namespace olvane {

class ExtensionAccompanimentCoordinator;
class SettingsManager;

// Judges, for each browser, whether our extension is connected, and publishes it in
// `extensionStatus`. For Firefox and Chrome the evidence is the age of the health and site files
// that olvanemac-host writes while the extension talks to it, with the browser's process and
// windows; for Safari, Safari's own answer. Every status change, and a tick every five seconds,
// asks the extension prompts to review the launched browsers.
class ExtensionStatusService {
  public:
    struct Collaborators {
        platform::RunLoop& loop;
        const platform::Clock& clock;
        platform::Workspace& workspace;
        platform::WindowServer& windowServer;
        platform::SystemEvents& systemEvents;
        // Where the site watchers announce each message of an extension.
        platform::NotificationCenter& notifications;
        platform::SafariExtensionManager& safari;
        SettingsManager& settings;
        platform::Observable<std::map<BrowserType, ExtensionStatus>>& extensionStatus;
        ExtensionAccompanimentCoordinator& coordinator;
        // The application's data folder, where the host writes the status files.
        std::filesystem::path dataFolder;
        // Makes the site watcher of the browser with that application ID forget what it knew;
        // nothing when there is none.
        std::function<void(const std::string& bundleID)> resetSiteWatcher;
    };

    enum class StatusFileKind { health, site };

    // A file younger than this shows a connected extension.
    static constexpr double kFreshnessSeconds = 45.0;
    // A browser launched or a system woken this recently is still `connecting`.
    static constexpr double kLaunchGraceSeconds = 8.0;
    static constexpr double kWakeGraceSeconds = 15.0;
    // So is a browser whose extension was seen connected this recently.
    static constexpr double kReconnectGraceSeconds = 30.0;
    static constexpr double kReviewIntervalSeconds = 5.0;
    // A window must be wider and taller than this to count.
    static constexpr double kMinimumWindowSide = 100.0;
    static constexpr const char* kSafariExtensionIdentifier = "so.olvane.mac.safari-extension";
    // Posted by the interface when one of its windows takes the keyboard focus.
    static constexpr const char* kWindowDidBecomeKeyNotification = "windowDidBecomeKey";

    explicit ExtensionStatusService(Collaborators collaborators);
    ExtensionStatusService(const ExtensionStatusService&) = delete;
    ExtensionStatusService& operator=(const ExtensionStatusService&) = delete;

    // Installs the observers and the review timer and looks at all three browsers once. A second
    // start, or a second stop, is ignored.
    void start();
    void stop();
    bool isStarted() const { return isStarted_; }

    // Firefox or Chrome, from their files, process and windows.
    void refreshStatus(BrowserType browser);
    // Asks Safari; the answer is applied later, if Safari still runs then.
    void refreshSafariStatus();
    // The only writer of `extensionStatus`; a change triggers a review of the launched browsers.
    void setStatus(ExtensionStatus status, BrowserType browser);

    // The file's "timestamp"; none when missing, malformed, or older than the browser's launch.
    std::optional<double> readStatusTimestamp(StatusFileKind kind, BrowserType browser);
    bool browserHasVisibleWindow(BrowserType browser);
    bool browserLaunchedRecently(BrowserType browser, double now);

    double lastSystemWake() const { return lastSystemWake_; }

  private:
    void installObservers();
    void refresh(BrowserType browser);
    void refreshAll();
    void applySafariAnswer(ExtensionStatus candidate);
    void markDetected();
    std::optional<platform::RunningApplication> firstInstance(BrowserType browser);

    void handleAppLaunched(BrowserType browser);
    void handleAppTerminated(BrowserType browser);
    void handleExtensionMessage(const Json& userInfo);
    void handleSystemWake();
    void reviewTick();

    Collaborators c_;
    bool isStarted_ = false;
    std::map<BrowserType, double> lastConnectedAt_;
    double lastSystemWake_ = 0;
    platform::Handle launchObserver_;
    platform::Handle terminationObserver_;
    platform::Handle activationObserver_;
    platform::Handle wakeObserver_;
    platform::Handle extensionMessageObserver_;
    platform::Handle windowBecameKeyObserver_;
    platform::Handle freshnessTimer_;
    // Last, so that queued work goes before anything it uses.
    platform::QueuedTasks tasks_;
};

}  // namespace olvane

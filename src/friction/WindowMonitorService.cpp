#include "friction/WindowMonitorService.h"

#include <algorithm>
#include <set>

#include "model/Logger.h"

namespace olvane {
namespace {

const Logger& log() {
    return Logger::windowMonitor();
}

std::string orText(const std::optional<std::string>& value, std::string_view fallback) {
    return value ? *value : std::string(fallback);
}

bool isCandidate(const platform::WindowInfo& window, const std::set<pid_t>& pids) {
    return window.ownerPid && pids.contains(*window.ownerPid) &&
           window.layer == platform::kNormalWindowLayer && window.bounds.width > 100 &&
           window.bounds.height > 100;
}

struct Candidate {
    TargetWindow window;
    pid_t pid;
};

// Sheets and pop-overs lie inside their application's main window: only the outer windows
// carry an effect. Windows sharing one frame are all kept, and a window is only ever dropped for
// one of its own process: another instance's window is no sheet of it.
std::vector<TargetWindow> withoutContainedWindows(const std::vector<Candidate>& candidates) {
    std::vector<TargetWindow> kept;
    for (const auto& candidate : candidates) {
        const auto& bounds = candidate.window.bounds;
        const bool contained = std::ranges::any_of(candidates, [&](const Candidate& other) {
            return other.pid == candidate.pid && other.window.bounds.contains(bounds) &&
                   other.window.bounds != bounds;
        });
        if (!contained) {
            kept.push_back(candidate.window);
        }
    }
    return kept;
}

}  // namespace

WindowMonitorService::WindowMonitorService(platform::Workspace& workspace,
                                           platform::WindowServer& windowServer,
                                           FrontmostAppMirror mirror)
    : workspace_(workspace),
      windowServer_(windowServer),
      mirror_(mirror),
      appChangedCallbacks_(std::make_shared<CallbackTable>()) {
    activationObserver_ =
        workspace_.observeActivation([this](const auto&) { activeAppDidChange(); });
    launchObserver_ = workspace_.observeLaunch([this](const auto& app) { appDidLaunch(app); });
    terminationObserver_ =
        workspace_.observeTermination([this](const auto& app) { appDidTerminate(app); });
}

void WindowMonitorService::startMonitoring() {
    activeAppDidChange();
    log().info("Surveillance des fenêtres démarrée");
}

void WindowMonitorService::stopMonitoring() {
    activationObserver_.cancel();
    launchObserver_.cancel();
    terminationObserver_.cancel();
    appChangedCallbacks_->clear();
    log().info("Surveillance des fenêtres arrêtée");
}

platform::Handle WindowMonitorService::addAppChangedCallback(const std::string& id,
                                                             AppChangedCallback callback) {
    auto registration = std::make_shared<Registration>(Registration{id, std::move(callback)});
    (*appChangedCallbacks_)[id] = registration;
    log().debug("Callback ajouté: %{public}s", id);
    return platform::Handle([table = std::weak_ptr(appChangedCallbacks_),
                             weakRegistration = std::weak_ptr(registration)] {
        const auto gone = weakRegistration.lock();
        if (!gone) {
            return;
        }
        // A walk already under way must not call into an owner that is going away.
        gone->ownerGone = true;
        if (auto callbacks = table.lock()) {
            const auto it = callbacks->find(gone->name);
            if (it != callbacks->end() && it->second == gone) {
                callbacks->erase(it);
            }
        }
    });
}

void WindowMonitorService::removeAppChangedCallback(const std::string& id) {
    appChangedCallbacks_->erase(id);
    log().debug("Callback retiré: %{public}s", id);
}

void WindowMonitorService::activeAppDidChange() {
    const auto front = workspace_.frontmostApplication();
    if (!front) {
        currentAppBundleID_.reset();
        currentAppName_.reset();
        return;
    }
    if (front->bundleIdentifier == currentAppBundleID_) {
        return;
    }
    currentAppBundleID_ = front->bundleIdentifier;
    currentAppName_ = front->localizedName;
    mirror_.bundleID.set(currentAppBundleID_);
    mirror_.name.set(currentAppName_);
    log().logStateChange("App active: " + platform::userData(orText(currentAppName_, "nil")) +
                         " (" + platform::userData(orText(currentAppBundleID_, "nil")) + ")");
    notifyCallbacks();
}

void WindowMonitorService::notifyCallbacks() {
    // Callbacks may add or remove callbacks: the walk goes over the table as it was.
    std::vector<std::shared_ptr<Registration>> snapshot;
    for (const auto& [name, registration] : *appChangedCallbacks_) {
        snapshot.push_back(registration);
    }
    // The values are copied too: a callback may start a new app change.
    const auto bundleID = currentAppBundleID_;
    const auto name = currentAppName_;
    for (const auto& registration : snapshot) {
        if (registration->ownerGone) {
            continue;
        }
        log().debug("Notification callback: %{public}s", registration->name);
        registration->callback(bundleID, name);
    }
}

void WindowMonitorService::appDidLaunch(const std::optional<platform::RunningApplication>& app) {
    if (app) {
        log().debug("App lancée: %s (%s)", orText(app->localizedName, "?"),
                    orText(app->bundleIdentifier, "?"));
    }
}

void WindowMonitorService::appDidTerminate(const std::optional<platform::RunningApplication>& app) {
    if (app) {
        log().debug("App fermée: %s (%s)", orText(app->localizedName, "?"),
                    orText(app->bundleIdentifier, "?"));
    }
}

std::vector<TargetWindow> WindowMonitorService::windows(std::string_view bundleID) {
    // Each X11 program's launch is a process of its own: two xterms are one application, and
    // the one just waited for is the newest.
    std::set<pid_t> pids;
    for (const auto& instance : workspace_.runningApplications(bundleID)) {
        pids.insert(instance.processIdentifier);
    }
    if (pids.empty()) {
        return {};
    }
    const auto list = windowServer_.windowList(platform::WindowListScope::OnScreenOnly);
    if (!list) {
        return {};
    }
    std::vector<Candidate> candidates;
    for (const auto& window : *list) {
        if (isCandidate(window, pids)) {
            candidates.push_back({{window.windowNumber, window.bounds}, *window.ownerPid});
        }
    }
    return withoutContainedWindows(candidates);
}

}  // namespace olvane

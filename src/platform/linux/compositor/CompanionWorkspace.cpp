#include "platform/linux/compositor/CompanionWorkspace.h"

#include <signal.h>

#include <chrono>
#include <set>

#include "platform/Json.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

// Compositors leave no window focused for a moment while the focus moves.
constexpr auto kFocusSettleTime = 100ms;

RunningApplication desktopApplication() {
    RunningApplication desktop;
    desktop.bundleIdentifier = std::string(kDesktopApplicationID);
    desktop.localizedName = "Bureau";
    return desktop;
}

bool isApplicationWindow(const CompositorWindow& window) {
    return window.type == "NORMAL" || window.type == "DIALOG";
}

std::set<pid_t> pidsOf(const std::vector<RunningApplication>& applications) {
    std::set<pid_t> pids;
    for (const auto& application : applications) {
        pids.insert(application.processIdentifier);
    }
    return pids;
}

}  // namespace

CompanionWorkspace::CompanionWorkspace(RunLoop& loop, ProcessWatcher& processes,
                                       CompanionLink& link, CompanionWindows& windows,
                                       std::vector<std::filesystem::path> applicationFolders,
                                       Workspace* fallback)
    : loop_(loop),
      link_(link),
      windows_(windows),
      fallback_(fallback),
      applications_(std::move(applicationFolders)),
      running_(processes, [this](pid_t pid) {
          if (frontmostPid_ == pid) {
              frontmostPid_.reset();
          }
      }) {
    if (fallback_) {
        // Passed on only while the companion does not report.
        auto forward = [this](Signal<std::optional<RunningApplication>>& signal) {
            return [this, &signal](const std::optional<RunningApplication>& application) {
                if (!live_) {
                    signal.emit(application);
                }
            };
        };
        fallbackWatches_.push_back(fallback_->observeActivation(forward(activated_)));
        fallbackWatches_.push_back(fallback_->observeLaunch(forward(launched_)));
        fallbackWatches_.push_back(fallback_->observeTermination(forward(terminated_)));
    }
    auto own = [this](Signal<std::optional<RunningApplication>>& signal) {
        return [this, &signal](const std::optional<RunningApplication>& application) {
            if (live_) {
                signal.emit(application);
            }
        };
    };
    ownWatches_.push_back(running_.observeLaunch(own(launched_)));
    ownWatches_.push_back(running_.observeTermination(own(terminated_)));
    windowsWatch_ = windows_.observe([this] { windowsChanged(); });
    if (const auto front = frontmostApplication()) {
        frontmostPid_ = front->processIdentifier;
    }
}

std::optional<RunningApplication> CompanionWorkspace::frontmostApplication() {
    if (live_) {
        return companionFrontmost();
    }
    return fallback_ ? fallback_->frontmostApplication() : desktopApplication();
}

std::vector<RunningApplication> CompanionWorkspace::runningApplications(std::string_view bundleID) {
    if (live_) {
        return running_.withBundleID(bundleID);
    }
    return fallback_ ? fallback_->runningApplications(bundleID) : std::vector<RunningApplication>{};
}

std::vector<RunningApplication> CompanionWorkspace::allRunningApplications() {
    if (live_) {
        return running_.all();
    }
    return fallback_ ? fallback_->allRunningApplications() : std::vector<RunningApplication>{};
}

void CompanionWorkspace::requestTermination(const RunningApplication& application) {
    if (!live_) {
        if (fallback_) {
            fallback_->requestTermination(application);
        }
        return;
    }
    const pid_t pid = application.processIdentifier;
    if (pid <= 0) {
        return;
    }
    bool asked = false;
    for (const auto& window : windows_.report().windows) {
        if (window.pid == pid) {
            link_.ask(json::dumpCompact(Json{{"close", window.id}}));
            asked = true;
        }
    }
    if (!asked) {
        ::kill(pid, SIGTERM);
    }
}

Handle CompanionWorkspace::observeActivation(ApplicationObserver observer) {
    return activated_.connect(std::move(observer));
}

Handle CompanionWorkspace::observeLaunch(ApplicationObserver observer) {
    return launched_.connect(std::move(observer));
}

Handle CompanionWorkspace::observeTermination(ApplicationObserver observer) {
    return terminated_.connect(std::move(observer));
}

void CompanionWorkspace::windowsChanged() {
    if (windows_.live() != live_) {
        switchSource(windows_.live());
        return;
    }
    if (live_) {
        trackApplications();
        checkFrontmost();
    }
}

// What runs and what is in front, seen from the other source.
void CompanionWorkspace::switchSource(bool live) {
    const auto before = allRunningApplications();
    live_ = live;
    if (live_) {
        // Announced below, as the difference.
        const bool wasLive = std::exchange(live_, false);
        trackApplications();
        live_ = wasLive;
    }
    const auto after = allRunningApplications();
    const auto beforePids = pidsOf(before);
    const auto afterPids = pidsOf(after);
    for (const auto& application : before) {
        if (!afterPids.contains(application.processIdentifier)) {
            terminated_.emit(application);
        }
    }
    for (const auto& application : after) {
        if (!beforePids.contains(application.processIdentifier)) {
            launched_.emit(application);
        }
    }
    absenceCheck_.cancel();
    frontmostPid_.reset();
    announceFrontmost();
}

void CompanionWorkspace::trackApplications() {
    for (const auto& window : windows_.report().windows) {
        if (isApplicationWindow(window)) {
            (void)applicationOf(window);
        }
    }
}

std::optional<RunningApplication> CompanionWorkspace::applicationOf(
    const CompositorWindow& window) {
    if (!window.pid) {
        return std::nullopt;
    }
    if (const auto* known = running_.find(*window.pid)) {
        return *known;
    }
    if (!running_.isAlive(*window.pid)) {
        return std::nullopt;  // a PID of another namespace, or a process gone
    }
    return running_.track(applications_.describe(*window.pid, window.names));
}

std::optional<RunningApplication> CompanionWorkspace::companionFrontmost() {
    const auto& focus = windows_.report().focus;
    const auto* window = focus ? windows_.withId(*focus) : nullptr;
    if (!window) {
        if (absenceCheck_) {
            return std::nullopt;
        }
        return desktopApplication();
    }
    if (window->type == "DESKTOP") {
        return desktopApplication();
    }
    return applicationOf(*window);
}

void CompanionWorkspace::checkFrontmost() {
    const auto& focus = windows_.report().focus;
    if (!focus || !windows_.withId(*focus)) {
        // Only a lasting absence of any focused window means the bare desktop is in front.
        if (!absenceCheck_) {
            absenceCheck_ = loop_.after(kFocusSettleTime, [this] { announceFrontmost(); });
        }
        return;
    }
    announceFrontmost();
}

void CompanionWorkspace::announceFrontmost() {
    absenceCheck_.cancel();
    const auto front = frontmostApplication();
    const auto pid = front ? std::optional(front->processIdentifier) : std::nullopt;
    if (pid == frontmostPid_) {
        return;
    }
    frontmostPid_ = pid;
    activated_.emit(front);
}

}  // namespace olvane::platform::os

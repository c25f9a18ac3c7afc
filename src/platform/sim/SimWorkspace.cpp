#include "platform/sim/SimWorkspace.h"

#include <algorithm>

namespace olvane::platform::sim {

const RunningApplication* SimWorkspace::find(pid_t pid) const {
    const auto it = std::ranges::find(running_, pid, &RunningApplication::processIdentifier);
    return it == running_.end() ? nullptr : &*it;
}

std::optional<RunningApplication> SimWorkspace::frontmostApplication() {
    if (!frontmost_) {
        return std::nullopt;
    }
    if (const auto* app = find(*frontmost_)) {
        return *app;
    }
    return std::nullopt;
}

std::vector<RunningApplication> SimWorkspace::runningApplications(std::string_view bundleID) {
    std::vector<RunningApplication> matching;
    for (const auto& app : running_) {
        if (app.bundleIdentifier && *app.bundleIdentifier == bundleID) {
            matching.push_back(app);
        }
    }
    return matching;
}

Handle SimWorkspace::observeActivation(ApplicationObserver observer) {
    return activated_.connect(std::move(observer));
}

Handle SimWorkspace::observeLaunch(ApplicationObserver observer) {
    return launched_.connect(std::move(observer));
}

Handle SimWorkspace::observeTermination(ApplicationObserver observer) {
    return terminated_.connect(std::move(observer));
}

void SimWorkspace::launch(RunningApplication app) {
    running_.push_back(app);
    launched_.emit(std::optional(std::move(app)));
}

void SimWorkspace::activate(pid_t pid) {
    const auto* app = find(pid);
    if (!app) {
        return;
    }
    frontmost_ = pid;
    activated_.emit(std::optional(*app));
}

void SimWorkspace::terminate(pid_t pid) {
    const auto it = std::ranges::find(running_, pid, &RunningApplication::processIdentifier);
    if (it == running_.end()) {
        return;
    }
    const RunningApplication app = *it;
    running_.erase(it);
    if (frontmost_ == pid) {
        frontmost_.reset();
    }
    terminated_.emit(std::optional(app));
}

}  // namespace olvane::platform::sim

#include "platform/RunningApplicationTable.h"

#include <algorithm>

namespace olvane::platform {

RunningApplicationTable::RunningApplicationTable(ProcessWatcher& processes,
                                                 std::function<void(pid_t)> onEnded)
    : processes_(processes), onEnded_(std::move(onEnded)) {}

const RunningApplication* RunningApplicationTable::find(pid_t pid) const {
    const auto found = running_.find(pid);
    return found == running_.end() ? nullptr : &found->second.application;
}

const RunningApplication& RunningApplicationTable::track(RunningApplication application) {
    const pid_t pid = application.processIdentifier;
    auto& tracked = running_[pid];
    tracked.application = std::move(application);
    tracked.exitWatch = processes_.watchExit(pid, [this, pid] { processEnded(pid); });
    launched_.emit(tracked.application);
    return tracked.application;
}

std::vector<RunningApplication> RunningApplicationTable::all() const {
    std::vector<RunningApplication> all;
    for (const auto& [pid, tracked] : running_) {
        all.push_back(tracked.application);
    }
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
        return a.launchDate.value_or(0) < b.launchDate.value_or(0);
    });
    return all;
}

std::vector<RunningApplication> RunningApplicationTable::withBundleID(
    std::string_view bundleID) const {
    auto found = all();
    std::erase_if(found, [bundleID](const RunningApplication& application) {
        return application.bundleIdentifier != bundleID;
    });
    return found;
}

void RunningApplicationTable::processEnded(pid_t pid) {
    const auto found = running_.find(pid);
    if (found == running_.end()) {
        return;
    }
    const auto application = found->second.application;
    running_.erase(found);  // a process watcher lets its callback drop the watch
    onEnded_(pid);
    terminated_.emit(application);
}

}  // namespace olvane::platform

#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Handle.h"
#include "platform/ProcessWatcher.h"
#include "platform/RunningApplication.h"
#include "platform/Signal.h"

namespace olvane::platform {

// The applications a window list shows: each runs from the moment one of its processes has a
// window until that process ends, and each coming and going is announced.
class RunningApplicationTable {
  public:
    using Observer = std::function<void(const std::optional<RunningApplication>&)>;

    // `onEnded` runs for a tracked process that ended, before its termination is announced.
    RunningApplicationTable(ProcessWatcher& processes, std::function<void(pid_t)> onEnded);

    const RunningApplication* find(pid_t pid) const;
    bool isAlive(pid_t pid) { return processes_.isAlive(pid); }
    // Announces its launch; its process is followed from then on.
    const RunningApplication& track(RunningApplication application);
    // Every one, the earliest launched first; or those with `bundleID`.
    std::vector<RunningApplication> all() const;
    std::vector<RunningApplication> withBundleID(std::string_view bundleID) const;

    Handle observeLaunch(Observer observer) { return launched_.connect(std::move(observer)); }
    Handle observeTermination(Observer observer) {
        return terminated_.connect(std::move(observer));
    }

  private:
    struct Tracked {
        RunningApplication application;
        Handle exitWatch;
    };

    void processEnded(pid_t pid);

    ProcessWatcher& processes_;
    std::function<void(pid_t)> onEnded_;
    std::map<pid_t, Tracked> running_;
    Signal<std::optional<RunningApplication>> launched_;
    Signal<std::optional<RunningApplication>> terminated_;
};

}  // namespace olvane::platform

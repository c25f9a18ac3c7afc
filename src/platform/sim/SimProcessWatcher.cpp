#include "platform/sim/SimProcessWatcher.h"

#include <algorithm>

namespace olvane::platform::sim {

SimProcessWatcher::SimProcessWatcher(RunLoop& loop)
    : loop_(loop), watches_(std::make_shared<std::vector<Watch>>()) {}

bool SimProcessWatcher::runsProgram(pid_t pid, const std::string& name) {
    const auto found = programs_.find(pid);
    return isAlive(pid) && found != programs_.end() && found->second == name;
}

Handle SimProcessWatcher::watchExit(pid_t pid, Task onExit) {
    if (failWatches_) {
        return Handle();
    }
    if (endingBeforeWatch_.erase(pid) > 0) {
        alive_.erase(pid);
    }
    if (!isAlive(pid)) {
        return loop_.post(std::move(onExit));
    }
    const auto id = nextId_++;
    watches_->push_back({id, pid, std::make_shared<Task>(std::move(onExit))});
    return Handle([weak = std::weak_ptr(watches_), id] {
        if (auto watches = weak.lock()) {
            std::erase_if(*watches, [id](const Watch& w) { return w.id == id; });
        }
    });
}

void SimProcessWatcher::exit(pid_t pid) {
    alive_.erase(pid);
    std::vector<Watch> ending;
    for (const auto& watch : *watches_) {
        if (watch.pid == pid) {
            ending.push_back(watch);
        }
    }
    // A watch fires once; its callback may drop its own handle or arm new watches.
    std::erase_if(*watches_, [pid](const Watch& w) { return w.pid == pid; });
    for (const auto& watch : ending) {
        (*watch.onExit)();
    }
}

std::size_t SimProcessWatcher::watchCount() const {
    return watches_->size();
}

bool SimProcessWatcher::isWatched(pid_t pid) const {
    return std::any_of(watches_->begin(), watches_->end(),
                       [pid](const Watch& w) { return w.pid == pid; });
}

}  // namespace olvane::platform::sim

#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ProcessWatcher.h"

namespace olvane::platform::sim {

// Processes that live and end when the test says so.
class SimProcessWatcher final : public ProcessWatcher {
  public:
    explicit SimProcessWatcher(RunLoop& loop);

    bool isAlive(pid_t pid) override { return alive_.contains(pid); }
    bool runsProgram(pid_t pid, const std::string& name) override;
    Handle watchExit(pid_t pid, Task onExit) override;

    // A process running `program`.
    void start(pid_t pid, std::string program = {}) {
        alive_.insert(pid);
        programs_[pid] = std::move(program);
    }
    // Ends the process and runs the callbacks of its watches.
    void exit(pid_t pid);
    // The process ends right before the next watch on it is armed (after a liveness check).
    void endBeforeWatch(pid_t pid) { endingBeforeWatch_.insert(pid); }
    // Makes watches fail (empty handles) until set back.
    void failWatches(bool fail) { failWatches_ = fail; }
    std::size_t watchCount() const;
    bool isWatched(pid_t pid) const;

  private:
    struct Watch {
        std::uint64_t id;
        pid_t pid;
        std::shared_ptr<Task> onExit;
    };

    RunLoop& loop_;
    std::set<pid_t> alive_;
    std::map<pid_t, std::string> programs_;
    std::set<pid_t> endingBeforeWatch_;
    std::shared_ptr<std::vector<Watch>> watches_;
    std::uint64_t nextId_ = 1;
    bool failWatches_ = false;
};

}  // namespace olvane::platform::sim

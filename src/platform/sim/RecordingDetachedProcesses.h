#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/DetachedProcesses.h"

namespace olvane::platform::sim {

// Detached processes that only exist on paper: starts and stops are recorded, numbers counted
// from 5000; a start can be made to fail, a process made to end by itself, and its end said to be
// looked for.
class RecordingDetachedProcesses final : public DetachedProcesses {
  public:
    struct Started {
        std::filesystem::path program;
        std::vector<std::string> arguments;
        pid_t pid;
    };

    Status start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 pid_t& pid) override;
    bool isRunning(pid_t pid) override { return running_.contains(pid); }
    void stop(pid_t pid) override;
    Handle watchEnd(pid_t pid, Task onEnd) override;
    std::optional<ComposedText> endPollingReason(pid_t pid) const override;

    // Ends the process as a kill would, and calls its end watch at once.
    void end(pid_t pid);

    void failStarts(std::string description) { failure_ = std::move(description); }
    // The processes started from now on have their end looked for, for this reason (none: told).
    void pollEndsBecause(std::string reason) { pollingReason_ = std::move(reason); }
    const std::vector<Started>& started() const { return started_; }
    const std::vector<pid_t>& stopped() const { return stopped_; }

  private:
    std::vector<Started> started_;
    std::vector<pid_t> stopped_;
    std::set<pid_t> running_;
    std::shared_ptr<std::map<pid_t, Task>> endWatches_ = std::make_shared<std::map<pid_t, Task>>();
    std::string failure_;
    std::string pollingReason_;
    std::map<pid_t, std::string> pollingReasons_;
    pid_t next_ = 5000;
};

}  // namespace olvane::platform::sim

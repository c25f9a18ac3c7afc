#pragma once

#include "platform/ProcessWatcher.h"

namespace olvane::platform::os {

// Process exits through pidfd: a descriptor that becomes readable when the process ends, on
// the run loop. Opening it settles the race between a liveness check and the watch: a process
// that ended in between is refused with ESRCH and reported at once. Where the kernel gives no
// pidfd (before Linux 5.3, or a sandbox that refuses the call), the process is looked at every
// kExitCheckInterval instead, known by its start time so that another under its number is not
// taken for it.
class PidfdProcessWatcher final : public ProcessWatcher {
  public:
    static constexpr Duration kExitCheckInterval = std::chrono::milliseconds(500);

    explicit PidfdProcessWatcher(RunLoop& loop) : loop_(loop) {}

    // A zombie, ended but not yet reaped by its parent, counts as ended.
    bool isAlive(pid_t pid) override;
    bool runsProgram(pid_t pid, const std::string& name) override;
    Handle watchExit(pid_t pid, Task onExit) override;

  private:
    Handle checkExitEvery(pid_t pid, Task onExit);

    RunLoop& loop_;
};

}  // namespace olvane::platform::os

#pragma once

#include <map>
#include <memory>

#include "platform/DetachedProcesses.h"

namespace olvane::platform::os {

// DetachedProcesses spawned without copying this process (posix_spawn): each in a session of its
// own, with standard streams on /dev/null and no other descriptor of ours. They stay our children
// while we run: each is followed by a pidfd, reaped on the run loop when it ends, and a stop never
// reaches a process that reused the number. Where the kernel gives no pidfd (before Linux 5.3, or
// a sandbox that refuses the call), each child of ours is looked at by its own number every
// kEndCheckInterval: never a wait on any child, which would take those of other code (QProcess).
class DaemonProcesses final : public DetachedProcesses {
  public:
    static constexpr Duration kEndCheckInterval = std::chrono::milliseconds(500);

    explicit DaemonProcesses(RunLoop& loop) : loop_(loop) {}
    ~DaemonProcesses() override;
    DaemonProcesses(const DaemonProcesses&) = delete;
    DaemonProcesses& operator=(const DaemonProcesses&) = delete;

    Status start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 pid_t& pid) override;
    bool isRunning(pid_t pid) override;
    void stop(pid_t pid) override;
    Handle watchEnd(pid_t pid, Task onEnd) override;
    std::optional<ComposedText> endPollingReason(pid_t pid) const override;

  private:
    struct Child;

    void followEnd(pid_t pid, Child& child);
    void reap(pid_t pid);

    RunLoop& loop_;
    std::map<pid_t, std::shared_ptr<Child>> children_;
};

}  // namespace olvane::platform::os

#pragma once

#include <map>

#include "platform/DetachedProcesses.h"

namespace olvane::platform::os {

// DetachedProcesses started as daemons (startDaemon). Each is followed by a pidfd, so that a stop
// never reaches a process that reused the number.
class DaemonProcesses final : public DetachedProcesses {
  public:
    DaemonProcesses() = default;
    ~DaemonProcesses() override;
    DaemonProcesses(const DaemonProcesses&) = delete;
    DaemonProcesses& operator=(const DaemonProcesses&) = delete;

    Status start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 pid_t& pid) override;
    bool isRunning(pid_t pid) override;
    void stop(pid_t pid) override;

  private:
    std::map<pid_t, int> pidfds_;
};

}  // namespace olvane::platform::os

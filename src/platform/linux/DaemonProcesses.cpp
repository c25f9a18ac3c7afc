#include "platform/linux/DaemonProcesses.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/linux/DaemonStart.h"

namespace olvane::platform::os {
namespace {

int openPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

}  // namespace

DaemonProcesses::~DaemonProcesses() {
    for (const auto& [pid, fd] : pidfds_) {
        ::close(fd);
    }
}

Status DaemonProcesses::start(const std::filesystem::path& program,
                              const std::vector<std::string>& arguments, pid_t& pid) {
    std::vector<std::string> command{program.string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    auto started = startDaemon(command, {}, pid);
    if (!started) {
        return started;
    }
    if (const int fd = openPidfd(pid); fd >= 0) {
        pidfds_[pid] = fd;
    }
    return started;
}

bool DaemonProcesses::isRunning(pid_t pid) {
    const auto found = pidfds_.find(pid);
    if (found == pidfds_.end()) {
        return false;
    }
    pollfd entry{found->second, POLLIN, 0};
    // A pidfd becomes readable when its process has ended.
    return ::poll(&entry, 1, 0) == 0;
}

void DaemonProcesses::stop(pid_t pid) {
    const auto found = pidfds_.find(pid);
    if (found == pidfds_.end()) {
        return;
    }
    ::syscall(SYS_pidfd_send_signal, found->second, SIGTERM, nullptr, 0U);
    ::close(found->second);
    pidfds_.erase(found);
}

}  // namespace olvane::platform::os

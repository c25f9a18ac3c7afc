#include "platform/linux/PidfdProcessWatcher.h"

#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/FileIO.h"
#include "platform/linux/ProcessInfo.h"

namespace olvane::platform::os {
namespace {

int openPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

// The state letter of /proc/<pid>/stat, after the command name in parentheses.
char processState(pid_t pid) {
    const auto stat = readWholeFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) {
        return '?';
    }
    const auto close = stat->rfind(')');
    return close != std::string::npos && close + 2 < stat->size() ? (*stat)[close + 2] : '?';
}

struct PidfdWatch {
    int fd = -1;
    Task onExit;
    // What tells the end: the pidfd turned readable, or the check that finds it.
    Handle ended;

    ~PidfdWatch() {
        ended.cancel();
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

// Once only: the callback may drop the handle, and with it the watch.
void reportExit(const std::weak_ptr<PidfdWatch>& weak) {
    auto self = weak.lock();
    if (!self || !self->onExit) {
        return;
    }
    self->ended.cancel();
    auto task = std::exchange(self->onExit, nullptr);
    task();
}

}  // namespace

bool PidfdProcessWatcher::isAlive(pid_t pid) {
    if (pid <= 0) {
        return false;
    }
    if (::kill(pid, 0) != 0 && errno != EPERM) {
        return false;
    }
    const char state = processState(pid);
    return state != 'Z' && state != 'X';
}

bool PidfdProcessWatcher::runsProgram(pid_t pid, const std::string& name) {
    const ProcessInfo proc;
    return proc.executableName(pid) == name || proc.commandName(pid) == name;
}

Handle PidfdProcessWatcher::watchExit(pid_t pid, Task onExit) {
    if (pid <= 0) {
        return Handle();
    }
    const int fd = openPidfd(pid);
    if (fd < 0) {
        return errno == ESRCH ? loop_.post(std::move(onExit))
                              : checkExitEvery(pid, std::move(onExit));
    }
    auto watch = std::make_shared<PidfdWatch>();
    watch->fd = fd;
    watch->onExit = std::move(onExit);
    watch->ended = loop_.watchReadable(fd, [weak = std::weak_ptr(watch)] { reportExit(weak); });
    if (!watch->ended) {
        return checkExitEvery(pid, std::move(watch->onExit));
    }
    return Handle([watch]() mutable { watch.reset(); });
}

Handle PidfdProcessWatcher::checkExitEvery(pid_t pid, Task onExit) {
    const auto started = ProcessInfo().launchDate(pid);
    const auto hasEnded = [this, pid, started] {
        return !isAlive(pid) || (started && ProcessInfo().launchDate(pid) != started);
    };
    if (hasEnded()) {
        return loop_.post(std::move(onExit));
    }
    auto watch = std::make_shared<PidfdWatch>();
    watch->onExit = std::move(onExit);
    watch->ended = loop_.every(kExitCheckInterval, [hasEnded, weak = std::weak_ptr(watch)] {
        if (hasEnded()) {
            reportExit(weak);
        }
    });
    return Handle([watch]() mutable { watch.reset(); });
}

}  // namespace olvane::platform::os

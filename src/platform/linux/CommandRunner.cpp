#include "platform/linux/CommandRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace olvane::platform::os {
namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

// Reads until the pipe closes or the deadline passes; false on the deadline.
bool drain(int fd, std::string& out, Clock::time_point deadline) {
    char buffer[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, remainingMs(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return true;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace

CommandResult runCommand(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
    CommandResult result;
    if (argv.empty()) {
        return result;
    }
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);

    std::vector<std::string> copies = argv;
    std::vector<char*> args;
    for (auto& arg : copies) {
        args.push_back(arg.data());
    }
    args.push_back(nullptr);

    pid_t pid = -1;
    const bool searchPath = argv.front().find('/') == std::string::npos;
    const int spawned = searchPath
                            ? ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ)
                            : ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        return result;
    }
    result.started = true;
    const auto deadline = Clock::now() + timeout;
    if (!drain(pipeFds[0], result.output, deadline)) {
        result.timedOut = true;
        ::kill(pid, SIGKILL);
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!result.timedOut && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

}  // namespace olvane::platform::os

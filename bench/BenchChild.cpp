#include "BenchChild.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace olvane::bench {
namespace {

constexpr auto kTimeout = std::chrono::seconds(30);

}  // namespace

Child spawn(const std::vector<std::string>& argv, bool withStderr) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 1);
    if (withStderr) {
        posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    std::vector<std::string> args = argv;
    std::vector<char*> cargs;
    for (auto& a : args) {
        cargs.push_back(a.data());
    }
    cargs.push_back(nullptr);
    Child child;
    if (posix_spawn(&child.pid, cargs[0], &actions, nullptr, cargs.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    child.out = pipe[0];
    return child;
}

bool waitFor(const Child& child, const std::string& text, std::string& seen) {
    std::vector<Clock::time_point> seenAt;
    return waitForEach(child, {text}, seenAt, seen);
}

bool waitForEach(const Child& child, const std::vector<std::string>& texts,
                 std::vector<Clock::time_point>& seenAt, std::string& seen) {
    const auto deadline = Clock::now() + kTimeout;
    seenAt.assign(texts.size(), Clock::time_point{});
    std::size_t left = texts.size();
    for (;;) {
        const auto now = Clock::now();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (seenAt[i] == Clock::time_point{} && seen.find(texts[i]) != std::string::npos) {
                seenAt[i] = now;
                --left;
            }
        }
        if (left == 0) {
            return true;
        }
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        pollfd p{child.out, POLLIN, 0};
        if (wait <= 0 || ::poll(&p, 1, static_cast<int>(wait)) <= 0) {
            return false;
        }
        char buffer[4096];
        const ssize_t n = ::read(child.out, buffer, sizeof buffer);
        if (n <= 0) {
            return false;
        }
        seen.append(buffer, static_cast<std::size_t>(n));
    }
}

void stop(Child& child) {
    ::kill(child.pid, SIGTERM);
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    ::close(child.out);
}

std::optional<Child> startXvfb(std::string& display) {
    if (!std::filesystem::exists("/usr/bin/Xvfb")) {
        return std::nullopt;
    }
    Child server = spawn({"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "1440x900x24",
                          "-nolisten", "tcp", "-noreset"},
                         false);
    std::string seen;
    if (!waitFor(server, "\n", seen)) {
        stop(server);
        return std::nullopt;
    }
    display = ":" + seen.substr(0, seen.find('\n'));
    return server;
}

}  // namespace olvane::bench

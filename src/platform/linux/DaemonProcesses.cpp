#include "platform/linux/DaemonProcesses.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"

extern char** environ;

namespace olvane::platform::os {
namespace {

int openPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

// What the spawned program starts with: a new session, every signal at its default and none
// blocked, /dev/null for its standard streams and nothing else open.
struct SpawnSettings {
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;

    SpawnSettings() {
        posix_spawnattr_init(&attributes);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes, &signals);
        sigfillset(&signals);
        posix_spawnattr_setsigdefault(&attributes, &signals);
        posix_spawnattr_setflags(
            &attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDWR, 0);
        posix_spawn_file_actions_adddup2(&actions, STDIN_FILENO, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, STDIN_FILENO, STDERR_FILENO);
        posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    }
    ~SpawnSettings() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;
};

}  // namespace

struct DaemonProcesses::Child {
    FileDescriptor pidfd;
    Handle ended;
    Task onEnd;
    bool stopped = false;
};

DaemonProcesses::~DaemonProcesses() {
    for (const auto& entry : children_) {
        ::waitpid(entry.first, nullptr, WNOHANG);
    }
}

Status DaemonProcesses::start(const std::filesystem::path& program,
                              const std::vector<std::string>& arguments, pid_t& pid) {
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const SpawnSettings settings;
    pid_t child = 0;
    // The library reports a failed exec itself, and reaps that child.
    if (const int error = ::posix_spawn(&child, argv[0], &settings.actions, &settings.attributes,
                                        argv.data(), environ);
        error != 0) {
        return errnoFailure("Impossible de lancer " + quotedPath(program), error);
    }
    pid = child;
    auto entry = std::make_shared<Child>();
    // Not reaped before this loop does it: the number cannot have gone to another process.
    entry->pidfd.reset(openPidfd(child));
    if (entry->pidfd.valid()) {
        entry->ended = loop_.watchReadable(entry->pidfd.get(), [this, child] { reap(child); });
    }
    children_[child] = std::move(entry);
    return Status::success();
}

void DaemonProcesses::reap(pid_t pid) {
    const auto found = children_.find(pid);
    if (found == children_.end()) {
        return;
    }
    // Kept alive until the end of this call: the watch that calls it goes with the entry.
    const auto child = found->second;
    children_.erase(found);
    child->ended.cancel();
    ::waitpid(pid, nullptr, WNOHANG);
    if (auto onEnd = std::exchange(child->onEnd, nullptr); onEnd && !child->stopped) {
        onEnd();
    }
}

bool DaemonProcesses::isRunning(pid_t pid) {
    const auto found = children_.find(pid);
    if (found == children_.end() || found->second->stopped || !found->second->pidfd.valid()) {
        return false;
    }
    pollfd entry{found->second->pidfd.get(), POLLIN, 0};
    // A pidfd becomes readable when its process has ended.
    return ::poll(&entry, 1, 0) == 0;
}

void DaemonProcesses::stop(pid_t pid) {
    const auto found = children_.find(pid);
    if (found == children_.end() || found->second->stopped) {
        return;
    }
    auto& child = *found->second;
    ::syscall(SYS_pidfd_send_signal, child.pidfd.get(), SIGTERM, nullptr, 0U);
    // Still reaped when it ends, but its end is no longer news.
    child.stopped = true;
    child.onEnd = nullptr;
}

Handle DaemonProcesses::watchEnd(pid_t pid, Task onEnd) {
    const auto found = children_.find(pid);
    if (found == children_.end() || found->second->stopped || !found->second->ended) {
        return Handle();
    }
    found->second->onEnd = std::move(onEnd);
    return Handle([weak = std::weak_ptr(found->second)] {
        if (const auto child = weak.lock()) {
            child->onEnd = nullptr;
        }
    });
}

}  // namespace olvane::platform::os

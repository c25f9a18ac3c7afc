#include "platform/linux/DaemonProcesses.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/FileDescriptor.h"

extern char** environ;

namespace olvane::platform::os {
namespace {

int openPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

// Whether a child of ours has ended, leaving it to be reaped; one already reaped (SIGCHLD ignored)
// has too.
bool hasEnded(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
           info.si_pid != 0;
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
    // Set when its end is looked for every kEndCheckInterval: why there is no pidfd to tell it.
    std::optional<ComposedText> pollingReason;
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
    followEnd(child, *entry);
    children_[child] = std::move(entry);
    return Status::success();
}

void DaemonProcesses::followEnd(pid_t pid, Child& child) {
    // Not reaped before this loop does it: the number cannot have gone to another process.
    child.pidfd.reset(openPidfd(pid));
    const int error = errno;
    if (child.pidfd.valid()) {
        child.ended = loop_.watchReadable(child.pidfd.get(), [this, pid] { reap(pid); });
        if (child.ended) {
            return;
        }
    }
    child.pollingReason =
        (child.pidfd.valid() ? ComposedText("pidfd non suivi par la boucle")
                             : "pidfd_open refusé (" + ComposedText(describeErrno(error)) + ")") +
        " : fin cherchée toutes les " +
        ComposedText(std::to_string(
            std::chrono::duration_cast<std::chrono::milliseconds>(kEndCheckInterval).count())) +
        " ms";
    child.ended = loop_.every(kEndCheckInterval, [this, pid] {
        if (hasEnded(pid)) {
            reap(pid);
        }
    });
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
    return found != children_.end() && !found->second->stopped && !hasEnded(pid);
}

void DaemonProcesses::stop(pid_t pid) {
    const auto found = children_.find(pid);
    if (found == children_.end() || found->second->stopped) {
        return;
    }
    auto& child = *found->second;
    if (child.pidfd.valid()) {
        ::syscall(SYS_pidfd_send_signal, child.pidfd.get(), SIGTERM, nullptr, 0U);
    } else {
        // Unreaped until this class reaps it, the number is still this child's.
        ::kill(pid, SIGTERM);
    }
    // Still reaped when it ends, but its end is no longer news.
    child.stopped = true;
    child.onEnd = nullptr;
}

std::optional<ComposedText> DaemonProcesses::endPollingReason(pid_t pid) const {
    const auto found = children_.find(pid);
    return found == children_.end() ? std::nullopt : found->second->pollingReason;
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

#include "platform/linux/DaemonStart.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <optional>

#include "platform/FileDescriptor.h"

namespace olvane::platform::os {
namespace {

// In the grandchild, before exec: only what may run after fork in a threaded program.
[[noreturn]] void becomeDaemon(const std::vector<char*>& argv, const char* workingFolder,
                               int reportFd) {
    const int null = ::open("/dev/null", O_RDWR);
    if (null < 0) {
        ::_exit(127);
    }
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    // Everything else goes, the report pipe included (it is close-on-exec and says "started").
    ::syscall(SYS_close_range, 3U, static_cast<unsigned>(reportFd) - 1U, 0U);
    ::syscall(SYS_close_range, static_cast<unsigned>(reportFd) + 1U, UINT_MAX, 0U);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (const int sig : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGCHLD}) {
        ::signal(sig, SIG_DFL);
    }
    if (*workingFolder != '\0' && ::chdir(workingFolder) != 0) {
        (void)::chdir("/");
    }
    ::execv(argv[0], argv.data());
    const int error = errno;
    [[maybe_unused]] auto n = ::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

struct Pipe {
    FileDescriptor read;
    FileDescriptor write;
};

std::optional<Pipe> openPipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    return Pipe{FileDescriptor(ends[0]), FileDescriptor(ends[1])};
}

bool readAll(int fd, void* buffer, std::size_t size) {
    auto* bytes = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::read(fd, bytes, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

Status startDaemon(const std::vector<std::string>& command,
                   const std::filesystem::path& workingFolder, pid_t& pid) {
    if (command.empty()) {
        return Status::failure("Aucun programme à lancer");
    }
    const auto failure = "Impossible de lancer " + quotedPath(command.front());
    std::vector<std::string> words = command;
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    // The middle child reports the grandchild's number on one pipe and the grandchild its exec
    // error on another: on a shared pipe the two could come in either order. The error pipe
    // closed without a word (it is close-on-exec) means the program runs.
    auto number = openPipe();
    auto error = openPipe();
    if (!number || !error) {
        return errnoFailure(failure, errno);
    }
    const pid_t middle = ::fork();
    if (middle < 0) {
        return errnoFailure(failure, errno);
    }
    if (middle == 0) {
        ::setsid();
        const pid_t daemon = ::fork();
        if (daemon == 0) {
            becomeDaemon(argv, workingFolder.c_str(), error->write.get());
        }
        [[maybe_unused]] auto n = ::write(number->write.get(), &daemon, sizeof daemon);
        ::_exit(daemon > 0 ? 0 : 127);
    }
    number->write.reset();
    error->write.reset();
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    pid_t daemon = -1;
    int execError = 0;
    const bool forked = readAll(number->read.get(), &daemon, sizeof daemon) && daemon > 0;
    if (!forked) {
        return Status::failure(failure);
    }
    if (readAll(error->read.get(), &execError, sizeof execError)) {
        return errnoFailure(failure, execError);
    }
    pid = daemon;
    return Status::success();
}

}  // namespace olvane::platform::os

#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>
#include <utility>

#include "platform/Descriptor.h"

namespace olvane::test {
namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

ChildProcess::Exit exitOf(int status) {
    return WIFEXITED(status) ? ChildProcess::Exit{true, WEXITSTATUS(status)}
                             : ChildProcess::Exit{false, WTERMSIG(status)};
}

}  // namespace

ChildProcess::ChildProcess(const std::filesystem::path& executable,
                           const std::vector<std::string>& args) {
    // A child that has ended closes its stdin: writing to it must fail, not end the test.
    ::signal(SIGPIPE, SIG_IGN);
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 ||
        ::pipe2(err, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    std::vector<std::string> argv{executable.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = ::fork();
    if (pid_ == 0) {
        ::signal(SIGPIPE, SIG_DFL);  // the child meets pipes as a browser would start it
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        std::vector<char*> cargs;
        for (auto& a : argv) {
            cargs.push_back(a.data());
        }
        cargs.push_back(nullptr);
        ::execv(cargs[0], cargs.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    stdin_ = in[1];
    stdout_ = out[0];
    stderrFd_ = err[0];
}

ChildProcess::~ChildProcess() {
    if (!exit_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        wait(std::chrono::milliseconds(5000));
    }
    for (int fd : {stdin_, stdout_, stderrFd_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool ChildProcess::writeStdin(const std::string& bytes) {
    return platform::writeAllToDescriptor(stdin_, bytes);
}

void ChildProcess::closeStdin() {
    if (stdin_ >= 0) {
        ::close(stdin_);
        stdin_ = -1;
    }
}

bool ChildProcess::readInto(int fd, std::string& out, std::chrono::milliseconds timeout) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(timeout.count())) <= 0) {
        return false;
    }
    char buffer[65536];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) {
        return false;
    }
    out.append(buffer, static_cast<std::size_t>(n));
    return true;
}

std::string ChildProcess::readStdout(std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (stdoutBuffer_.size() < count && Clock::now() < deadline) {
        if (!readInto(stdout_, stdoutBuffer_, std::chrono::milliseconds(remainingMs(deadline)))) {
            pollfd p{stdout_, POLLIN, 0};
            if (::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP) && !(p.revents & POLLIN)) {
                break;
            }
        }
    }
    const auto n = std::min(count, stdoutBuffer_.size());
    std::string result = stdoutBuffer_.substr(0, n);
    stdoutBuffer_.erase(0, n);
    return result;
}

std::string ChildProcess::readStdoutToEnd(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (!readInto(stdout_, stdoutBuffer_, std::chrono::milliseconds(remainingMs(deadline)))) {
            break;
        }
    }
    return std::exchange(stdoutBuffer_, {});
}

std::string ChildProcess::readStderrToEnd(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (!readInto(stderrFd_, stderr_, std::chrono::milliseconds(remainingMs(deadline)))) {
            break;
        }
    }
    return stderr_;
}

bool ChildProcess::waitForStderr(const std::string& text, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (stderr_.find(text) == std::string::npos) {
        if (Clock::now() >= deadline ||
            !readInto(stderrFd_, stderr_, std::chrono::milliseconds(remainingMs(deadline)))) {
            return stderr_.find(text) != std::string::npos;
        }
    }
    return true;
}

void ChildProcess::signal(int sig) {
    if (pid_ > 0 && !exit_) {
        ::kill(pid_, sig);
    }
}

bool ChildProcess::stop(std::chrono::milliseconds timeout) {
    signal(SIGSTOP);
    const auto deadline = Clock::now() + timeout;
    while (!exit_) {
        int status = 0;
        const pid_t r = ::waitpid(pid_, &status, WUNTRACED | WNOHANG);
        if (r == pid_ && WIFSTOPPED(status)) {
            return true;
        }
        if (r == pid_) {
            exit_ = exitOf(status);
        } else if (r < 0 || Clock::now() >= deadline) {
            return false;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return false;
}

std::optional<ChildProcess::Exit> ChildProcess::wait(std::chrono::milliseconds timeout) {
    if (exit_) {
        return exit_;
    }
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            exit_ = exitOf(status);
            return exit_;
        }
        if (r < 0 || Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

std::filesystem::path builtExecutable(const std::string& relative) {
    return std::filesystem::path(OLVANE_BUILD_DIR) / relative;
}

}  // namespace olvane::test

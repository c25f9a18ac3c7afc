#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace olvane::test {

// How long a test waits for a process it started (ours, a server, a bus) to reach a state it
// should reach: on a loaded machine a start or an end takes many seconds; the limit only catches
// a process that never gets there.
inline constexpr std::chrono::seconds kPatience{120};

// A real child process with pipes on its standard streams, for tests of our executables.
class ChildProcess {
  public:
    struct Exit {
        bool exited = false;  // false: killed by a signal
        int code = 0;         // exit status, or the signal number
    };

    ChildProcess(const std::filesystem::path& executable,
                 const std::vector<std::string>& args = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // False once the child has closed its stdin (ended, most often).
    bool writeStdin(const std::string& bytes);
    void closeStdin();
    // Reads what is available on stdout until `count` bytes arrived or `timeout` passed.
    std::string readStdout(std::size_t count, std::chrono::milliseconds timeout);
    // Everything until stdout closes (or `timeout`).
    std::string readStdoutToEnd(std::chrono::milliseconds timeout);
    std::string readStderrToEnd(std::chrono::milliseconds timeout);
    // Waits until stderr contains `text`; what was read is kept in stderrSoFar().
    bool waitForStderr(const std::string& text, std::chrono::milliseconds timeout);
    const std::string& stderrSoFar() const { return stderr_; }

    void signal(int sig);
    // SIGSTOP, then waits until the kernel has stopped the child (the signal alone does not).
    bool stop(std::chrono::milliseconds timeout);
    std::optional<Exit> wait(std::chrono::milliseconds timeout);

  private:
    bool readInto(int fd, std::string& out, std::chrono::milliseconds timeout);

    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    int stderrFd_ = -1;
    std::string stdoutBuffer_;
    std::string stderr_;
    std::optional<Exit> exit_;
};

// Path of an executable built by this build tree.
std::filesystem::path builtExecutable(const std::string& relative);

}  // namespace olvane::test

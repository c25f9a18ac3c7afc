#include "platform/linux/KConfigFileLock.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string>
#include <thread>
#include <vector>

#include "platform/ComposedText.h"
#include "platform/FileIO.h"
#include "platform/linux/ProcessInfo.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

constexpr auto kPollInterval = 10ms;
// A lock that says nothing of its holder, left by one cut short while making it.
constexpr auto kSilentLockStaleAfter = 30s;

std::string hostName() {
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
}

std::string programName() {
    return ProcessInfo().executableName(::getpid()).value_or("OlvaneMac");
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const auto end = text.find('\n', begin);
        lines.push_back(text.substr(begin, end - begin));
        begin = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

std::optional<pid_t> holderOf(const std::vector<std::string>& lines) {
    pid_t pid = 0;
    if (lines.empty()) {
        return std::nullopt;
    }
    const auto& text = lines.front();
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (error != std::errc() || end != text.data() + text.size() || pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

bool olderThan(const std::filesystem::path& path, std::chrono::seconds age) {
    const auto modified = modificationTimeNs(path);
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    return modified && now - *modified > std::chrono::nanoseconds(age).count();
}

bool isStale(const std::filesystem::path& lock) {
    const auto text = readWholeFile(lock, nullptr, 4096);
    if (!text) {
        return false;  // gone meanwhile, or not ours to judge: tried again
    }
    const auto lines = linesOf(*text);
    const auto holder = holderOf(lines);
    if (!holder) {
        return olderThan(lock, kSilentLockStaleAfter);
    }
    if (lines.size() < 3 || lines[2] != hostName()) {
        return false;  // another machine's, over a shared home
    }
    if (::kill(*holder, 0) != 0 && errno == ESRCH) {
        return true;
    }
    const ProcessInfo process;
    const auto& program = lines[1];
    return !program.empty() && process.executableName(*holder) != program &&
           process.commandName(*holder) != program;
}

// True when made; false with `failure` untouched when someone holds it.
bool makeLock(const std::filesystem::path& lock, Status& failure) {
    const int fd = ::open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno != EEXIST) {
            failure = errnoFailure("Impossible de créer " + quotedPath(lock), errno);
        }
        return false;
    }
    const auto contents =
        std::to_string(::getpid()) + "\n" + programName() + "\n" + hostName() + "\n";
    const bool written =
        ::write(fd, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size());
    const int writeError = errno;
    ::close(fd);
    if (!written) {
        ::unlink(lock.c_str());
        failure = errnoFailure("Impossible d’écrire " + quotedPath(lock), writeError);
    }
    return written;
}

std::filesystem::path lockOf(const std::filesystem::path& file) {
    return file.string() + ".lock";
}

}  // namespace

Handle lockKConfigFile(const std::filesystem::path& file, std::chrono::milliseconds wait,
                       Status& failure) {
    const auto lock = lockOf(file);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        failure = Status::success();
        if (makeLock(lock, failure)) {
            return Handle([lock] { ::unlink(lock.c_str()); });
        }
        if (!failure) {
            return Handle();
        }
        if (isStale(lock)) {
            ::unlink(lock.c_str());
            continue;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            failure =
                Status::failure(quotedPath(file) + " reste verrouillé par un autre programme");
            return Handle();
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

bool kconfigFileLockHeld(const std::filesystem::path& file) {
    const auto lock = lockOf(file);
    return existsAtPath(lock) && !isStale(lock);
}

}  // namespace olvane::platform::os

// Figures for the OlvaneMac program: the time from launch to "Initialisation terminée" and the
// resident memory once started, over several launches, each in a fresh HOME, on a private Xvfb
// (offscreen when there is none).
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kLaunches = 10;
constexpr const char* kReady = "App: Initialisation terminée";
constexpr auto kTimeout = std::chrono::seconds(30);

struct Child {
    pid_t pid = -1;
    int out = -1;  // standard output and error, together
};

// `withStderr`: the child's standard error joins its output; otherwise it is dropped.
Child spawn(const std::vector<std::string>& argv, bool withStderr = true) {
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

// Reads the child's output until `text` shows; false on timeout or end of output.
bool waitFor(const Child& child, const std::string& text, std::string& seen) {
    const auto deadline = Clock::now() + kTimeout;
    while (seen.find(text) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{child.out, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) {
            return false;
        }
        char buffer[4096];
        const ssize_t n = ::read(child.out, buffer, sizeof buffer);
        if (n <= 0) {
            return false;
        }
        seen.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

long residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

void stop(Child& child) {
    ::kill(child.pid, SIGTERM);
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    ::close(child.out);
}

// A private X server; its display number, or none.
std::optional<Child> startXvfb(std::string& display) {
    if (!fs::exists("/usr/bin/Xvfb")) {
        return std::nullopt;
    }
    Child server = spawn(
        {"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "1440x900x24", "-nolisten", "tcp"},
        false);
    std::string seen;
    if (!waitFor(server, "\n", seen)) {
        stop(server);
        return std::nullopt;
    }
    display = ":" + seen.substr(0, seen.find('\n'));
    return server;
}

fs::path freshHome() {
    char pattern[] = "/tmp/olvane-bench-XXXXXX";
    const fs::path home = ::mkdtemp(pattern);
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (home / ".cache").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
    return home;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const std::string program = OLVANE_APP_EXECUTABLE;
    std::string display;
    auto server = startXvfb(display);
    if (server) {
        ::setenv("DISPLAY", display.c_str(), 1);
        ::unsetenv("QT_QPA_PLATFORM");
    } else {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    std::vector<double> startupMs;
    std::vector<double> residentMb;
    for (int i = 0; i < kLaunches; ++i) {
        const fs::path home = freshHome();
        const auto start = Clock::now();
        Child app = spawn({program});
        std::string seen;
        if (!waitFor(app, kReady, seen)) {
            std::fprintf(stderr, "« %s » absent du journal :\n%s\n", kReady, seen.c_str());
            stop(app);
            fs::remove_all(home);
            if (server) {
                stop(*server);
            }
            return 1;
        }
        startupMs.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        residentMb.push_back(static_cast<double>(residentKilobytes(app.pid)) / 1024.0);
        stop(app);
        fs::remove_all(home);
    }
    if (server) {
        stop(*server);
    }
    std::printf("OlvaneMac (%s), %d lancements, HOME neuf à chaque fois\n",
                server ? "Xvfb" : "offscreen", kLaunches);
    std::printf("  démarrage jusqu'à « Initialisation terminée » : médiane %.1f ms, max %.1f ms\n",
                median(startupMs), *std::max_element(startupMs.begin(), startupMs.end()));
    std::printf("  mémoire résidente après le démarrage : médiane %.1f Mo, max %.1f Mo\n",
                median(residentMb), *std::max_element(residentMb.begin(), residentMb.end()));
    return 0;
}

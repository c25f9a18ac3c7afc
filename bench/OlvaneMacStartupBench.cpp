// Figures for the OlvaneMac program: the time from launch to "Initialisation terminée", the
// resident memory once started, and the time the kernel takes to report its end after SIGKILL
// (the floor under the watchdog's reset), over several launches, each in a fresh HOME, on a
// private Xvfb (offscreen when there is none).
#include <poll.h>
#include <sys/syscall.h>
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

#include "BenchChild.h"

namespace {

namespace fs = std::filesystem;
using namespace olvane::bench;

constexpr int kLaunches = 10;
constexpr const char* kReady = "App: Initialisation terminée";

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

// Milliseconds from SIGKILL to the end of `pid` as a pidfd reports it; negative when unseen.
double killReportedMs(pid_t pid) {
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0) {
        return -1;
    }
    const auto start = Clock::now();
    ::kill(pid, SIGKILL);
    pollfd ended{pidfd, POLLIN, 0};
    const bool seen = ::poll(&ended, 1, 5000) == 1;
    const auto elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ::close(pidfd);
    return seen ? elapsed : -1;
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
    std::vector<double> killMs;
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
        killMs.push_back(killReportedMs(app.pid));
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
    std::printf("  fin signalée par le noyau après SIGKILL : médiane %.1f ms, max %.1f ms\n",
                median(killMs), *std::max_element(killMs.begin(), killMs.end()));
    return 0;
}

// Figures for the OlvaneMac program against its floor, a bare Qt window: the time from launch to
// "Initialisation terminée" (the floor: to its first painted frame), the time from launch to the
// first frame sent to the X server (seen alike for both by a preloaded probe), the resident memory
// and the shared libraries once both are seen, and the time the kernel takes to report
// OlvaneMac's end after SIGKILL (the floor under the watchdog's reset). The two take turns launch
// by launch, each in a fresh HOME, on a private Xvfb (offscreen when there is none, and no frame
// figure then), so that the machine's load weighs on both alike. Target: the median start within
// 1.5 times the floor's. Argument: the number of pairs (default 20).
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
#include <set>
#include <string>
#include <vector>

#include "BenchChild.h"
#include "ProcessFigures.h"

namespace {

using olvane::bench::percentile;

namespace fs = std::filesystem;
using namespace olvane::bench;

constexpr int kPairs = 20;
constexpr const char* kReady = "App: Initialisation terminée";
constexpr const char* kFloorReady = "Premier cadre peint";
constexpr const char* kFrameSent = "Premier cadre envoyé";

// Under Xvfb only: offscreen, no frame goes anywhere.
bool& probingFrames() {
    static bool probing = false;
    return probing;
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

// The shared libraries `pid` has mapped.
double libraryCount(pid_t pid) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::set<std::string> libraries;
    std::string line;
    while (std::getline(maps, line)) {
        const auto slash = line.find('/');
        if (slash != std::string::npos && line.find(".so", slash) != std::string::npos) {
            libraries.insert(line.substr(slash));
        }
    }
    return static_cast<double>(libraries.size());
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

// OlvaneMac's watchdog outlives it for a moment and may still write there, even make the folder
// again: each is removed now and once more at the end.
std::vector<fs::path>& usedHomes() {
    static std::vector<fs::path> homes;
    return homes;
}

void removeHome(const fs::path& home) {
    usedHomes().push_back(home);
    std::error_code error;
    fs::remove_all(home, error);
}

void removeHomesAgain() {
    ::sleep(2);
    for (const auto& home : usedHomes()) {
        std::error_code error;
        fs::remove_all(home, error);
    }
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

struct Launch {
    double startMs = 0;
    double frameMs = -1;
    double residentMb = 0;
    double libraries = 0;
    double killMs = 0;
};

// Launches `program` in a fresh HOME and waits for `ready`; nullopt when it never comes.
std::optional<Launch> launch(const std::string& program, const char* ready) {
    const fs::path home = freshHome();
    std::vector<std::string> markers{ready};
    if (probingFrames()) {
        markers.emplace_back(kFrameSent);
    }
    const auto start = Clock::now();
    Child child = spawn({program});
    std::string seen;
    std::vector<Clock::time_point> seenAt;
    std::optional<Launch> result;
    const auto since = [&](Clock::time_point at) {
        return std::chrono::duration<double, std::milli>(at - start).count();
    };
    if (waitForEach(child, markers, seenAt, seen)) {
        result = Launch{since(seenAt[0]), probingFrames() ? since(seenAt[1]) : -1,
                        static_cast<double>(residentKilobytes(child.pid)) / 1024.0,
                        libraryCount(child.pid), killReportedMs(child.pid)};
    } else {
        std::fprintf(stderr, "« %s » absent de la sortie de %s :\n%s\n", markers.back().c_str(),
                     program.c_str(), seen.c_str());
    }
    stop(child);
    removeHome(home);
    return result;
}

struct Series {
    std::vector<double> startMs, frameMs, residentMb, libraries, killMs;

    void add(const Launch& l) {
        startMs.push_back(l.startMs);
        frameMs.push_back(l.frameMs);
        residentMb.push_back(l.residentMb);
        libraries.push_back(l.libraries);
        killMs.push_back(l.killMs);
    }
};

void row(const char* what, const std::vector<double>& app, const std::vector<double>& floor,
         const char* unit) {
    for (const double share : {0.5, 0.9}) {
        const double a = percentile(app, share);
        const double f = percentile(floor, share);
        std::printf("  %-34s %-7s %8.1f %s  plancher %8.1f %s  ×%.2f\n", what,
                    share == 0.5 ? "médiane" : "p90", a, unit, f, unit, a / f);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kPairs;
    std::string display;
    auto server = startXvfb(display);
    if (server) {
        ::setenv("DISPLAY", display.c_str(), 1);
        ::unsetenv("QT_QPA_PLATFORM");
        ::setenv("LD_PRELOAD", OLVANE_FIRST_FRAME_PROBE, 1);
        probingFrames() = true;
    } else {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    Series app, floor;
    std::vector<double> ratios, frameRatios;
    bool failed = false;
    for (int i = 0; i < pairs && !failed; ++i) {
        // Each goes first every other pair, so that neither always finds the caches warmer.
        std::optional<Launch> a, f;
        if (i % 2 == 0) {
            f = launch(OLVANE_FLOOR_EXECUTABLE, kFloorReady);
            a = launch(OLVANE_APP_EXECUTABLE, kReady);
        } else {
            a = launch(OLVANE_APP_EXECUTABLE, kReady);
            f = launch(OLVANE_FLOOR_EXECUTABLE, kFloorReady);
        }
        if (!a || !f) {
            failed = true;
            break;
        }
        app.add(*a);
        floor.add(*f);
        ratios.push_back(a->startMs / f->startMs);
        frameRatios.push_back(a->frameMs / f->frameMs);
    }
    ::unsetenv("LD_PRELOAD");
    if (server) {
        stop(*server);
    }
    removeHomesAgain();
    if (failed) {
        return 1;
    }
    std::printf(
        "OlvaneMac contre une fenêtre Qt nue (%s), %d paires alternées, HOME neuf à chaque "
        "lancement\n",
        server ? "Xvfb" : "offscreen", pairs);
    row("démarrage (premier cadre du plancher)", app.startMs, floor.startMs, "ms");
    std::printf("  %-34s médiane ×%.2f, p90 ×%.2f (objectif : médiane ≤ ×1.5)\n",
                "rapport paire par paire", percentile(ratios, 0.5), percentile(ratios, 0.9));
    if (probingFrames()) {
        row("premier cadre envoyé au serveur X", app.frameMs, floor.frameMs, "ms");
        std::printf("  %-34s médiane ×%.2f, p90 ×%.2f\n", "rapport paire par paire",
                    percentile(frameRatios, 0.5), percentile(frameRatios, 0.9));
    }
    // Taken once both are seen: at the first frame when it is watched.
    const bool atFrame = probingFrames();
    row(atFrame ? "mémoire au premier cadre" : "mémoire résidente à ce moment", app.residentMb,
        floor.residentMb, "Mo");
    std::printf("  %-34s %.0f, plancher %.0f\n",
                atFrame ? "bibliothèques au premier cadre" : "bibliothèques chargées à ce moment",
                percentile(app.libraries, 0.5), percentile(floor.libraries, 0.5));
    std::printf("  %-34s médiane %.1f ms, p90 %.1f ms\n", "fin signalée après SIGKILL",
                percentile(app.killMs, 0.5), percentile(app.killMs, 0.9));
    return 0;
}

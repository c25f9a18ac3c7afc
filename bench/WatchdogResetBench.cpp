// How fast OlvaneWatchdog puts the display back to colour after the application is killed, and
// what it costs while it waits. Real processes in a temporary HOME; target: under 20 ms.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/sim/SimulatedDisplayDevice.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace olvane;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(100us);
    }
    return true;
}

bool holdsPidfdOn(pid_t holder, pid_t target) {
    std::error_code ec;
    for (const auto& entry :
         fs::directory_iterator(fs::path("/proc") / std::to_string(holder) / "fdinfo", ec)) {
        const auto text = platform::readWholeFile(entry.path()).value_or("");
        if (text.find("\nPid:\t" + std::to_string(target) + "\n") != std::string::npos) {
            return true;
        }
    }
    return false;
}

// Clock ticks of user and system time used by a process so far.
long cpuTicks(pid_t pid) {
    const auto stat = platform::readWholeFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) {
        return -1;
    }
    std::istringstream fields(stat->substr(stat->rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) {
            utime = std::stol(field);
        } else if (i == 15) {
            stime = std::stol(field);
            break;
        }
    }
    return utime + stime;
}

// A temporary HOME with OlvaneWatchdog running in it, for the whole program.
class Fixture {
  public:
    Fixture() {
        char pattern[] = "/tmp/olvane-bench-XXXXXX";
        root_ = ::mkdtemp(pattern);
        fs::create_directories(root_ / "runtime");
        fs::permissions(root_ / "runtime", fs::perms::owner_all);
        ::setenv("HOME", root_.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (root_ / "runtime").c_str(), 1);
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            ::unsetenv(name);
        }
        paths_ = std::make_unique<platform::Paths>(platform::Paths::fromProcessEnvironment());
        char* argv[] = {const_cast<char*>(OLVANE_WATCHDOG_EXECUTABLE), nullptr};
        ::posix_spawn(&watchdog_, argv[0], nullptr, nullptr, argv, environ);
        waitUntil([&] { return fs::exists(pidFile()); }, 10s);
    }
    ~Fixture() {
        ::kill(watchdog_, SIGKILL);
        ::waitpid(watchdog_, nullptr, 0);
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    pid_t watchdog() const { return watchdog_; }
    fs::path pidFile() const { return paths_->dataFolder() / "watchdog-pid"; }
    fs::path displayFile() const {
        return platform::sim::SimulatedDisplayFile::defaultPath(*paths_);
    }

  private:
    fs::path root_;
    std::unique_ptr<platform::Paths> paths_;
    pid_t watchdog_ = -1;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

// The application's stand-in: PID file, grey display, then it waits to be killed.
pid_t launchApplication(const Fixture& f) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        (void)platform::ensurePrivateFolder(f.pidFile().parent_path());
        (void)platform::writeFileAtomically(f.pidFile(), std::to_string(::getpid()));
        platform::sim::SimulatedDisplayDevice display(f.displayFile());
        platform::RemapConnection connection = 0;
        display.open(platform::sim::SimulatedDisplayFile::kDefaultDisplayId, connection);
        display.setMode(connection, platform::kRemapModeGrayscale);
        [[maybe_unused]] auto n = ::write(ready[1], "r", 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char byte = 0;
    [[maybe_unused]] auto n = ::read(ready[0], &byte, 1);
    ::close(ready[0]);
    return pid;
}

bool displayInColour(const Fixture& f) {
    const auto state = platform::sim::SimulatedDisplayFile::read(f.displayFile());
    return state && state->mode(platform::sim::SimulatedDisplayFile::kDefaultDisplayId) == 0u;
}

// One kill, in milliseconds until the display file shows colour again; negative on failure.
double measureOneReset(Fixture& f, platform::os::EpollRunLoop& loop, bool& changed) {
    const pid_t app = launchApplication(f);
    if (!waitUntil([&] { return holdsPidfdOn(f.watchdog(), app); }, 10s)) {
        std::fprintf(stderr, "the watchdog never watched process %d\n", app);
        ::kill(app, SIGKILL);
        ::waitpid(app, nullptr, 0);
        return -1;
    }
    loop.runUntil([] { return false; }, 1ms);  // drop the events of the launch
    changed = false;

    const auto start = Clock::now();
    ::kill(app, SIGKILL);
    const bool reset =
        loop.runUntil([&] { return std::exchange(changed, false) && displayInColour(f); }, 5s);
    const auto elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ::waitpid(app, nullptr, 0);
    if (!reset) {
        std::fprintf(stderr, "display not reset within 5 s after killing %d\n", app);
        return -1;
    }
    return elapsed;
}

// Time from SIGKILL of the application to the display reset: median of 50 kills.
void BM_ResetAfterKill(benchmark::State& state) {
    auto& f = fixture();
    platform::os::EpollRunLoop loop;
    platform::os::InotifyFileWatcher files(loop);
    bool changed = false;
    (void)platform::ensurePrivateFolder(f.displayFile().parent_path());
    auto watch = files.watchName(f.displayFile().parent_path(), f.displayFile().filename(),
                                 [&](platform::FileEvents) { changed = true; });
    if (!watch) {
        state.SkipWithError("cannot watch the display file");
        return;
    }
    for (auto _ : state) {
        std::vector<double> samples;
        for (int i = 0; i < 50; ++i) {
            const double ms = measureOneReset(f, loop, changed);
            if (ms < 0) {
                state.SkipWithError("a reset was missed");
                return;
            }
            samples.push_back(ms);
        }
        std::sort(samples.begin(), samples.end());
        state.counters["median_ms"] = (samples[24] + samples[25]) / 2;
        state.counters["p90_ms"] = samples[44];
        state.counters["max_ms"] = samples.back();
        state.counters["target_ms"] = 20;
    }
}
BENCHMARK(BM_ResetAfterKill)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_IdleCpu(benchmark::State& state) {
    auto& f = fixture();
    const pid_t app = launchApplication(f);
    waitUntil([&] { return holdsPidfdOn(f.watchdog(), app); }, 10s);
    long ticks = 0;
    for (auto _ : state) {
        const long before = cpuTicks(f.watchdog());
        std::this_thread::sleep_for(2s);
        ticks += cpuTicks(f.watchdog()) - before;
    }
    state.counters["watchdog_cpu_ticks_per_2s"] = static_cast<double>(ticks);
    ::kill(app, SIGKILL);
    ::waitpid(app, nullptr, 0);
}
BENCHMARK(BM_IdleCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

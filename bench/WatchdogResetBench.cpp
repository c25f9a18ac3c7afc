// How fast OlvaneWatchdog puts the display back to colour after the application is killed, and
// what it costs while it waits. Real processes in a temporary HOME whose XDG_RUNTIME_DIR is on
// tmpfs, as in a session: the simulated display file, and the "CTM" property of a private Xvfb's
// output (created here, as a CTM-capable driver exposes it). The killed process is a small
// stand-in, or the real OlvaneMac; each kill's time is split into the kernel's share (until the
// process's end is reported) and the watchdog's. Target: under 20 ms from the kill.
//
// Run as "olvane_watchdog_bench --stand-in sim|ctm", it is the application's stand-in: it writes
// the PID file, turns the display grey, says so on its output and waits to be killed.
#include <benchmark/benchmark.h>
#include <linux/magic.h>
#include <poll.h>
#include <signal.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "BenchChild.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/linux/RandrCtmDevice.h"
#include "platform/sim/SimulatedDisplayDevice.h"
#include "support/CtmOutputs.h"

namespace {

namespace fs = std::filesystem;
using namespace olvane;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kKills = 40;
// How long the application runs before it is killed: the watchdog has long settled by then in
// real life.
constexpr auto kRunTime = 30ms;
// The real application starts in tens of milliseconds but keeps working a while after.
constexpr int kRealKills = 15;
constexpr auto kRealRunTime = 300ms;

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

// A private Xvfb whose outputs have a "CTM" property; its display, empty when there is none.
class CtmServer {
  public:
    CtmServer() {
        std::string display;
        server_ = bench::startXvfb(display);
        if (server_ && test::addCtmToOutputs(display)) {
            display_ = display;
        }
    }
    ~CtmServer() {
        if (server_) {
            bench::stop(*server_);
        }
    }

    const std::string& display() const { return display_; }

  private:
    std::optional<bench::Child> server_;
    std::string display_;
};

const CtmServer& ctmServer() {
    static CtmServer instance;
    return instance;
}

// A folder of our own on tmpfs, where a session's XDG_RUNTIME_DIR is; in `fallback` without one.
fs::path runtimeFolder(const fs::path& fallback) {
    char pattern[] = "/dev/shm/olvane-bench-runtime-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    const fs::path folder = made ? fs::path(made) : fallback;
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_all);
    return folder;
}

bool onTmpfs(const fs::path& path) {
    struct statfs fs {};
    return ::statfs(path.c_str(), &fs) == 0 && fs.f_type == TMPFS_MAGIC;
}

// The settings of a user who wants the filter on: the application turns grey at its start.
void wantGrayscale(const platform::Paths& paths) {
    (void)platform::ensurePrivateFolder(paths.defaultsFile().parent_path());
    // The store's format: each key's value in base64; here {"userWantsGrayscaleEnabled":true}.
    (void)platform::writeFileAtomically(
        paths.defaultsFile(),
        R"({"com.olvane.userSettings":"eyJ1c2VyV2FudHNHcmF5c2NhbGVFbmFibGVkIjp0cnVlfQ=="})");
}

// A temporary HOME with OlvaneWatchdog running in it, for the whole program. The watchdog has
// no DISPLAY, as when the user's service manager starts it: it learns it from the application.
class Fixture {
  public:
    Fixture() {
        char pattern[] = "/tmp/olvane-bench-XXXXXX";
        root_ = ::mkdtemp(pattern);
        runtime_ = runtimeFolder(root_ / "runtime");
        ::setenv("HOME", root_.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "DISPLAY",
                                 "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS"}) {
            ::unsetenv(name);
        }
        paths_ = std::make_unique<platform::Paths>(platform::Paths::fromProcessEnvironment());
        fs::create_directories(standIn().parent_path());
        fs::create_symlink(fs::read_symlink("/proc/self/exe"), standIn());
        wantGrayscale(*paths_);
        // What tells the application that a service manager runs (and runs this watchdog): it
        // starts no agent of its own to race this one.
        fs::create_directories(runtime_ / "systemd");
        (void)platform::writeFileAtomically(runtime_ / "systemd" / "private", "");
        watchdog_ = bench::spawn({OLVANE_WATCHDOG_EXECUTABLE}, false);
        waitUntil([&] { return fs::exists(pidFile()); }, 10s);
    }
    ~Fixture() {
        bench::stop(watchdog_);
        std::error_code ec;
        fs::remove_all(root_, ec);
        fs::remove_all(runtime_, ec);
    }

    pid_t watchdog() const { return watchdog_.pid; }
    bool runtimeOnTmpfs() const { return onTmpfs(runtime_); }
    // This program under the application's name, the only one the watchdog watches.
    fs::path standIn() const { return root_ / "bin" / "OlvaneMac"; }
    fs::path pidFile() const { return paths_->dataFolder() / "watchdog-pid"; }
    fs::path displayFile() const {
        return platform::sim::SimulatedDisplayFile::defaultPath(*paths_);
    }

  private:
    fs::path root_;
    fs::path runtime_;
    std::unique_ptr<platform::Paths> paths_;
    bench::Child watchdog_;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

// The application's stand-in, on `display` when given (its CTM), else on the simulated display
// file; once it is grey and the watchdog has settled on it. Its pid, or -1.
pid_t launchApplication(const Fixture& f, const std::string& display = {}) {
    if (!display.empty()) {
        ::setenv("DISPLAY", display.c_str(), 1);
    }
    bench::Child app = bench::spawn({f.standIn(), "--stand-in", display.empty() ? "sim" : "ctm"});
    ::unsetenv("DISPLAY");
    std::string seen;
    const bool ready = bench::waitFor(app, "grey\n", seen) &&
                       waitUntil([&] { return holdsPidfdOn(f.watchdog(), app.pid); }, 10s);
    if (!ready) {
        std::fprintf(stderr, "the watchdog never watched process %d\n", app.pid);
        bench::stop(app);
        return -1;
    }
    ::close(app.out);
    std::this_thread::sleep_for(kRunTime);
    return app.pid;
}

int runStandIn(std::string_view mode) {
    const auto paths = platform::Paths::fromProcessEnvironment();
    platform::sim::SimulatedDisplayDevice simulated(
        platform::sim::SimulatedDisplayFile::defaultPath(paths));
    platform::os::RandrCtmDevice outputs;
    platform::ColorRemapDevice& device =
        mode == "ctm" ? static_cast<platform::ColorRemapDevice&>(outputs) : simulated;
    const auto pidFile = paths.dataFolder() / "watchdog-pid";
    (void)platform::ensurePrivateFolder(pidFile.parent_path());
    (void)platform::writeFileAtomically(pidFile, std::to_string(::getpid()));
    const auto services = device.load().outcome == platform::RemapLoadResult::Outcome::Loaded
                              ? device.matchServices()
                              : std::nullopt;
    platform::RemapConnection connection = 0;
    if (!services || services->empty() ||
        device.open(services->front().service, connection) != platform::remap::kSuccess ||
        device.setMode(connection, platform::kRemapModeGrayscale) != platform::remap::kSuccess) {
        return 1;
    }
    std::printf("grey\n");
    std::fflush(stdout);
    for (;;) {
        ::pause();
    }
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

// The figures of a few dozen kills, in milliseconds.
void report(benchmark::State& state, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    state.counters["median_ms"] = median(samples);
    state.counters["p90_ms"] = samples[samples.size() * 9 / 10];
    state.counters["max_ms"] = samples.back();
    state.counters["target_ms"] = 20;
}

// When the kernel reports the end of `pidfd`'s process, as it does to the watchdog: the floor
// under any reset.
std::optional<Clock::time_point> exitReported(int pidfd) {
    pollfd ended{pidfd, POLLIN, 0};
    if (pidfd < 0 || ::poll(&ended, 1, 5000) <= 0) {
        return std::nullopt;
    }
    return Clock::now();
}

// The real OlvaneMac on the simulated display, offscreen, grey from its settings; once the
// watchdog watches it. Its output stays open: a write to a closed pipe would end it. Its pid, or
// -1.
pid_t launchRealApplication(const Fixture& f, int& output) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    bench::Child app = bench::spawn({OLVANE_APP_EXECUTABLE});
    ::unsetenv("QT_QPA_PLATFORM");
    std::string seen;
    const bool ready = bench::waitFor(app, "App: Initialisation terminée", seen) &&
                       waitUntil([&] { return holdsPidfdOn(f.watchdog(), app.pid); }, 10s);
    if (!ready) {
        std::fprintf(stderr, "OlvaneMac did not start under the watchdog:\n%s\n", seen.c_str());
        bench::stop(app);
        return -1;
    }
    output = app.out;
    std::this_thread::sleep_for(kRealRunTime);
    return app.pid;
}

// One kill: milliseconds until the kernel reported the end, and until the display file showed
// colour again.
struct KillTimes {
    double exit = 0;
    double reset = 0;
};

class DisplayFileReset {
  public:
    explicit DisplayFileReset(const Fixture& f) : f_(f), files_(loop_) {
        (void)platform::ensurePrivateFolder(f.displayFile().parent_path());
        watch_ = files_.watchName(f.displayFile().parent_path(), f.displayFile().filename(),
                                  [this](platform::FileEvents) { changed_ = true; });
    }
    bool valid() const { return static_cast<bool>(watch_); }

    std::optional<KillTimes> kill(pid_t app) {
        const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, app, 0));
        loop_.runUntil([] { return false; }, 1ms);  // drop the events of the launch
        changed_ = false;
        const auto start = Clock::now();
        ::kill(app, SIGKILL);
        const auto exit = exitReported(pidfd);
        const bool reset =
            loop_.runUntil([&] { return std::exchange(changed_, false) && displayInColour(); }, 5s);
        const auto end = Clock::now();
        ::close(pidfd);
        ::waitpid(app, nullptr, 0);
        if (!reset || !exit) {
            std::fprintf(stderr, "display not reset within 5 s after killing %d\n", app);
            return std::nullopt;
        }
        return KillTimes{milliseconds(*exit - start), milliseconds(end - start)};
    }

  private:
    static double milliseconds(Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    }
    bool displayInColour() const {
        const auto state = platform::sim::SimulatedDisplayFile::read(f_.displayFile());
        return state && state->mode(platform::sim::SimulatedDisplayFile::kDefaultDisplayId) == 0u;
    }

    const Fixture& f_;
    platform::os::EpollRunLoop loop_;
    platform::os::InotifyFileWatcher files_;
    platform::Handle watch_;
    bool changed_ = false;
};

// The kernel's share of each kill beside the watchdog's (the rest, from the reported end to the
// reset), as medians.
void reportShares(benchmark::State& state, const std::vector<KillTimes>& kills) {
    std::vector<double> resets, exits, watchdog;
    for (const auto& kill : kills) {
        resets.push_back(kill.reset);
        exits.push_back(kill.exit);
        watchdog.push_back(kill.reset - kill.exit);
    }
    report(state, resets);
    state.counters["kernel_median_ms"] = median(exits);
    state.counters["watchdog_median_ms"] = median(watchdog);
    state.counters["runtime_on_tmpfs"] = fixture().runtimeOnTmpfs() ? 1 : 0;
}

// Kills `count` applications that `launch` starts (a pid, or -1) and reports the shares of their
// resets of the simulated display file; an output descriptor a launch hands back is closed.
template <typename Launch>
void measureDisplayResets(benchmark::State& state, int count, Launch launch) {
    DisplayFileReset display(fixture());
    if (!display.valid()) {
        state.SkipWithError("cannot watch the display file");
        return;
    }
    for (auto _ : state) {
        std::vector<KillTimes> kills;
        for (int i = 0; i < count; ++i) {
            int output = -1;
            const pid_t app = launch(output);
            const auto times = app < 0 ? std::nullopt : display.kill(app);
            if (output >= 0) {
                ::close(output);
            }
            if (!times) {
                state.SkipWithError("a reset was missed");
                return;
            }
            kills.push_back(*times);
        }
        reportShares(state, kills);
    }
}

// Time from SIGKILL of the application's stand-in to the simulated display file back in colour.
void BM_ResetAfterKill(benchmark::State& state) {
    measureDisplayResets(state, kKills, [](int&) { return launchApplication(fixture()); });
}
BENCHMARK(BM_ResetAfterKill)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same with the real OlvaneMac: its end takes the kernel longer (the teardown of its memory
// and of its inotify groups).
void BM_RealApplicationResetAfterKill(benchmark::State& state) {
    measureDisplayResets(state, kRealKills,
                         [](int& output) { return launchRealApplication(fixture(), output); });
}
BENCHMARK(BM_RealApplicationResetAfterKill)->Iterations(1)->Unit(benchmark::kMillisecond);

// Reads RandR's notifications of output property changes on the root window.
class CtmChanges {
  public:
    explicit CtmChanges(const std::string& display)
        : display_(display), x_(platform::os::X11Connection::open(display)) {
        if (!x_) {
            return;
        }
        xcb_randr_select_input(x_->get(), x_->root(), XCB_RANDR_NOTIFY_MASK_OUTPUT_PROPERTY);
        sync(x_->get());
    }
    bool valid() const { return x_ && x_->isUsable(); }

    void drop() {
        sync(x_->get());
        while (platform::os::XcbPtr<xcb_generic_event_t>(xcb_poll_for_event(x_->get()))) {
        }
    }

    // When every output first held `words` again, as RandR told it; nullopt at `deadline`.
    std::optional<Clock::time_point> waitFor(const platform::os::CtmWords& words,
                                             Clock::time_point deadline) {
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd readable{xcb_get_file_descriptor(x_->get()), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
                return std::nullopt;
            }
            const auto told = Clock::now();
            bool any = false;
            while (platform::os::XcbPtr<xcb_generic_event_t>(xcb_poll_for_event(x_->get()))) {
                any = true;
            }
            const auto outputs = test::ctmOfOutputs(display_);
            if (any && !outputs.empty() &&
                std::all_of(outputs.begin(), outputs.end(),
                            [&](const auto& held) { return held == words; })) {
                return told;
            }
        }
    }

  private:
    // A round trip: every event sent before it is in XCB's queue after it.
    static void sync(xcb_connection_t* c) {
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }

    std::string display_;
    std::unique_ptr<platform::os::X11Connection> x_;
};

// Time from SIGKILL of the application to the moment the CTM of every output holds the identity
// again, on a private Xvfb.
void BM_CtmResetAfterKill(benchmark::State& state) {
    auto& f = fixture();
    const auto& server = ctmServer();
    if (server.display().empty()) {
        state.SkipWithError("no Xvfb with a CTM output");
        return;
    }
    CtmChanges changes(server.display());
    if (!changes.valid()) {
        state.SkipWithError("cannot follow the outputs' properties");
        return;
    }
    const auto identity = platform::os::encodeCtm(platform::os::kIdentityMatrix);
    const auto ms = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    for (auto _ : state) {
        std::vector<double> samples;
        std::vector<double> exits;
        for (int i = 0; i < kKills; ++i) {
            const pid_t app = launchApplication(f, server.display());
            if (app < 0) {
                state.SkipWithError("the application did not start");
                return;
            }
            const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, app, 0));
            changes.drop();
            const auto start = Clock::now();
            ::kill(app, SIGKILL);
            const auto exit = exitReported(pidfd);
            const auto reset = changes.waitFor(identity, start + 5s);
            ::close(pidfd);
            ::waitpid(app, nullptr, 0);
            if (!reset || !exit) {
                state.SkipWithError("the outputs were not reset within 5 s");
                return;
            }
            samples.push_back(ms(*reset - start));
            exits.push_back(ms(*exit - start));
        }
        std::vector<double> watchdog(samples.size());
        std::transform(samples.begin(), samples.end(), exits.begin(), watchdog.begin(),
                       std::minus<>());
        report(state, samples);
        state.counters["kernel_median_ms"] = median(exits);
        state.counters["watchdog_median_ms"] = median(watchdog);
    }
}
BENCHMARK(BM_CtmResetAfterKill)->Iterations(1)->Unit(benchmark::kMillisecond);

// While it watches the application on an X display.
void BM_IdleCpu(benchmark::State& state) {
    auto& f = fixture();
    const pid_t app = launchApplication(f, ctmServer().display());
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

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--stand-in") {
        return runStandIn(argv[2]);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Figures for olvanemac-host next to a minimal C program that does only the frame I/O:
// cold start to the first reply, PING/PONG round trips, GET_RULES with a 100 KB rules file (the
// file unchanged, the first request after each change and the requests of the next seconds), and
// resident memory. Host and floor take turns, run by run, so that whatever the machine does
// meanwhile (the reaping of a process's inotify watches, another program) weighs on both alike;
// both run on the bench's processor (their own work), then both on another (the wake-ups too).
// Targets: cold start within one and a half times the floor, PING/PONG and GET_RULES at any
// moment within twice, the first after a change within five times, resident memory under 4 MB.
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string frame(const std::string& payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    std::string out(reinterpret_cast<const char*>(&length), 4);
    return out + payload;
}

const std::string kPing = frame(R"({"type":"PING"})");
const std::string kGetRules = frame(R"({"type":"GET_RULES"})");

bool readExactly(int fd, char* buffer, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n <= 0) {
            return false;
        }
        buffer += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            std::perror("write");
            std::exit(1);
        }
        done += static_cast<std::size_t>(n);
    }
}

// The processors every peer may run on.
cpu_set_t peerProcessors;

// One program under measure, with pipes on its standard input and output.
class Peer {
  public:
    Peer(const std::string& executable, const std::vector<std::string>& args) {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
            std::exit(1);
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        std::vector<std::string> argv{executable};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargs;
        for (auto& a : argv) {
            cargs.push_back(a.data());
        }
        cargs.push_back(nullptr);
        if (posix_spawn(&pid_, executable.c_str(), &actions, nullptr, cargs.data(), environ) != 0) {
            std::perror("posix_spawn");
            std::exit(1);
        }
        posix_spawn_file_actions_destroy(&actions);
        sched_setaffinity(pid_, sizeof peerProcessors, &peerProcessors);
        ::close(in[0]);
        ::close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
    }
    ~Peer() {
        ::close(stdin_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ::close(stdout_);
    }

    // Sends one frame and waits for one frame back; its payload size.
    std::size_t exchange(const std::string& request) {
        writeAll(stdin_, request);
        return receive();
    }

    // Waits for one frame; its payload size.
    std::size_t receive() {
        std::uint32_t length = 0;
        if (!readExactly(stdout_, reinterpret_cast<char*>(&length), 4)) {
            std::fprintf(stderr, "pas de réponse\n");
            std::exit(1);
        }
        buffer_.resize(length);
        readExactly(stdout_, buffer_.data(), length);
        return length;
    }

    // Whether the last frame was a push of the rules after a change.
    bool lastWasPush() const {
        return buffer_.find(R"("source":"file_change")") != std::string::npos;
    }

    // Peak and current resident memory, in KiB.
    std::pair<long, long> residentKiB() const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        long peak = 0, current = 0;
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmHWM:", 0) == 0) {
                peak = std::strtol(line.c_str() + 6, nullptr, 10);
            } else if (line.rfind("VmRSS:", 0) == 0) {
                current = std::strtol(line.c_str() + 6, nullptr, 10);
            }
        }
        return {peak, current};
    }

  private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    std::string buffer_;
};

double microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

struct Spread {
    double median, p90;
};

Spread spread(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[samples.size() * 9 / 10]};
}

double coldStartOnce(const std::string& executable, const std::vector<std::string>& args) {
    const auto start = Clock::now();
    Peer peer(executable, args);
    peer.exchange(kPing);
    return microseconds(Clock::now() - start);
}

struct Pair {
    Spread host, floor;
};

Pair coldStarts(const std::string& host, const std::string& floor, int runs) {
    std::vector<double> hostSamples, floorSamples;
    for (int i = 0; i < runs; ++i) {
        hostSamples.push_back(coldStartOnce(host, {"chrome-extension://bench/"}));
        floorSamples.push_back(coldStartOnce(floor, {}));
    }
    return {spread(hostSamples), spread(floorSamples)};
}

struct AfterChange {
    Spread first;  // the first request after each rewrite
    Spread next;   // the requests that follow it, within the seconds a file takes to settle
};

// GET_RULES right after each rewrite of the rules, then a few more before the host's push of the
// change (a tenth of a second later), which is waited for outside the measure. The floor, which
// reads the file for every request, goes through the same rewrites in turn with the host, and
// rests as long as the host's push took, so both come to each first request from the same idle.
// Medians: on a busy machine a few of these few samples wait for a processor.
std::pair<AfterChange, AfterChange> perRequestAfterChange(Peer& host, Peer& floor,
                                                          const fs::path& rules,
                                                          const std::string& text, int count) {
    const auto where = text.find("wikipedia");
    std::vector<double> samples[2][2];
    Clock::duration rest{};
    for (int i = 0; i < count; ++i) {
        for (const int which : {0, 1}) {
            Peer& peer = which == 0 ? host : floor;
            std::string changed = text;
            changed[where] = static_cast<char>('0' + (2 * i + which) % 10);  // in a site's name
            std::ofstream(rules, std::ios::trunc) << changed;
            const auto written = Clock::now();
            for (int request = 0; request < 10; ++request) {
                const auto start = Clock::now();
                peer.exchange(kGetRules);
                samples[which][request == 0 ? 0 : 1].push_back(microseconds(Clock::now() - start));
                if (peer.lastWasPush()) {
                    std::fprintf(stderr, "poussée avant la réponse\n");
                    std::exit(1);
                }
            }
            if (which == 0) {
                peer.receive();  // the push
                rest = Clock::now() - written;
            } else {
                std::this_thread::sleep_until(written + rest);
                host.receive();  // the host pushes this change too
            }
        }
    }
    const auto afterChange = [&](int which) {
        return AfterChange{spread(samples[which][0]), spread(samples[which][1])};
    };
    return {afterChange(0), afterChange(1)};
}

// Microseconds per request for each peer, the two taking turns in short rounds.
std::pair<double, double> perRequest(Peer& host, Peer& floor, const std::string& request,
                                     int count) {
    constexpr int kRounds = 20;
    host.exchange(request);
    floor.exchange(request);
    Clock::duration hostTime{}, floorTime{};
    for (int round = 0; round < kRounds; ++round) {
        for (auto [peer, total] : {std::pair{&host, &hostTime}, std::pair{&floor, &floorTime}}) {
            const auto start = Clock::now();
            for (int i = 0; i < count / kRounds; ++i) {
                peer->exchange(request);
            }
            *total += Clock::now() - start;
        }
    }
    const double done = count / kRounds * kRounds;
    return {microseconds(hostTime) / done, microseconds(floorTime) / done};
}

// About 100 KB of rules as the application writes them: content rules and many friction sites.
std::string hundredKilobytesOfRules() {
    std::string sites;
    for (int i = 0; sites.size() < 98'000; ++i) {
        if (i > 0) {
            sites += ",\n";
        }
        sites += R"(    {"delay": true, "delaySeconds": 30, "displayName": "Site )" +
                 std::to_string(i) + R"(", "domain": "site-)" + std::to_string(i) +
                 R"(.example.com", "turtle": false, "turtleIntensity": "medium"})";
    }
    return R"({"_grayscale": {"allowedSites": ["wikipedia.org"]}, "youtube": {"yt_shorts": true},)"
           "\n  \"_redList\": {\"sites\": [\n" +
           sites + "]}}\n";
}

// The processors the bench may use: the bench keeps the first, and the peers, host and floor
// alike, run on that same one, then on the others, where the scheduler places them and the host's
// two threads may part; the second set is empty when only one processor is allowed.
std::pair<cpu_set_t, cpu_set_t> benchAndOtherProcessors() {
    cpu_set_t allowed, bench, others;
    CPU_ZERO(&allowed);
    CPU_ZERO(&bench);
    CPU_ZERO(&others);
    sched_getaffinity(0, sizeof allowed, &allowed);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &allowed)) {
            CPU_SET(cpu, CPU_COUNT(&bench) == 0 ? &bench : &others);
        }
    }
    return {bench, others};
}

// `text` padded to `width` characters (not bytes: the labels are French).
std::string padded(const std::string& text, std::size_t width) {
    const auto characters = static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    return text + std::string(width > characters ? width - characters : 0, ' ');
}

void row(const std::string& what, double host, double floor, const char* unit) {
    std::printf("  %s %10.1f %10.1f %-4s ×%.2f\n", padded(what, 36).c_str(), host, floor, unit,
                host / floor);
}

struct Programs {
    std::string host, floor;
    fs::path rules;
    int scale;
};

// Every figure with the peers on the given processors; whether every target is held.
bool measure(const Programs& programs, const cpu_set_t& processors) {
    peerProcessors = processors;
    const auto& [host, floor, rules, scale] = programs;
    std::printf("  %s %s %s\n", padded("", 36).c_str(), padded("      hôte", 10).c_str(),
                padded("  plancher", 10).c_str());
    const auto [hostStart, floorStart] = coldStarts(host, floor, 200 * scale);
    row("démarrage à froid → PONG, médiane", hostStart.median, floorStart.median, "µs");
    row("démarrage à froid → PONG, p90", hostStart.p90, floorStart.p90, "µs");

    Peer hostPeer(host, {});
    Peer floorPeer(floor, {});
    const auto [hostPing, floorPing] = perRequest(hostPeer, floorPeer, kPing, 20'000 * scale);
    row("aller-retour PING/PONG", hostPing, floorPing, "µs");
    std::printf("  %s %10.0f %10.0f /s\n", padded("  soit", 36).c_str(), 1e6 / hostPing,
                1e6 / floorPing);

    Peer floorRules(floor, {rules.string()});
    const auto [hostRules, floorRulesTime] =
        perRequest(hostPeer, floorRules, kGetRules, 2'000 * scale);
    char label[64];
    std::snprintf(label, sizeof label, "GET_RULES, rules.json de %ju Ko",
                  static_cast<std::uintmax_t>(fs::file_size(rules) / 1000));
    row(label, hostRules, floorRulesTime, "µs");
    const auto [hostChanged, floorChanged] =
        perRequestAfterChange(hostPeer, floorRules, rules, hundredKilobytesOfRules(), 50 * scale);
    row("  premier après changement, médiane", hostChanged.first.median, floorChanged.first.median,
        "µs");
    row("  premier après changement, p90", hostChanged.first.p90, floorChanged.first.p90, "µs");
    row("  les suivants (< 2 s), médiane", hostChanged.next.median, floorChanged.next.median, "µs");
    row("  les suivants (< 2 s), p90", hostChanged.next.p90, floorChanged.next.p90, "µs");

    const auto [hostPeak, hostNow] = hostPeer.residentKiB();
    const auto [floorPeak, floorNow] = floorPeer.residentKiB();
    row("mémoire résidente, pic", static_cast<double>(hostPeak), static_cast<double>(floorPeak),
        "Kio");
    row("mémoire résidente, actuelle", static_cast<double>(hostNow), static_cast<double>(floorNow),
        "Kio");

    const bool targets[] = {hostStart.median <= 1.5 * floorStart.median,
                            hostPeak < 4 * 1024,
                            hostPing <= 2 * floorPing,
                            hostRules <= 2 * floorRulesTime,
                            hostChanged.first.median <= 5 * floorChanged.first.median,
                            hostChanged.next.median <= 2 * floorChanged.next.median};
    const auto verdict = [](bool held) { return held ? "tenu" : "MANQUÉ"; };
    std::printf("  objectifs : démarrage ≤ 1,5× le plancher (%s), mémoire < 4 Mio (%s),\n",
                verdict(targets[0]), verdict(targets[1]));
    std::printf(
        "    PING/PONG ≤ 2× (%s), GET_RULES d’un fichier inchangé ≤ 2× (%s),\n"
        "    le premier après un changement ≤ 5× (%s), les suivants ≤ 2× (%s)\n",
        verdict(targets[2]), verdict(targets[3]), verdict(targets[4]), verdict(targets[5]));
    return std::all_of(std::begin(targets), std::end(targets), [](bool held) { return held; });
}

}  // namespace

int main(int argc, char** argv) {
    char pattern[] = "/tmp/olvane-host-bench-XXXXXX";
    if (!::mkdtemp(pattern)) {
        return 1;
    }
    const fs::path home = pattern;
    ::setenv("HOME", home.c_str(), 1);
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        ::unsetenv(name);
    }
    const fs::path data = home / ".local/share/OlvaneMac";
    fs::create_directories(data);
    const Programs programs{OLVANE_HOST_EXECUTABLE, OLVANE_FLOOR_EXECUTABLE, data / "rules.json",
                            argc > 1 ? std::max(1, std::atoi(argv[1])) : 1};
    std::ofstream(programs.rules) << hundredKilobytesOfRules();

    const auto [bench, others] = benchAndOtherProcessors();
    sched_setaffinity(0, sizeof bench, &bench);
    std::printf("olvanemac-host face au plancher (programme C qui ne fait que les trames)\n");
    std::printf("\nsur le processeur du banc : leur propre travail\n");
    bool held = measure(programs, bench);
    if (CPU_COUNT(&others) > 0) {
        std::printf("\nsur les %d autres processeurs : les réveils en plus\n", CPU_COUNT(&others));
        held = measure(programs, others) && held;
    }
    std::printf("\n%s\n", held ? "objectifs tenus" : "objectifs MANQUÉS");
    std::error_code ec;
    fs::remove_all(home, ec);
    return 0;
}

// The fog's frame inside a real headless GNOME Shell 43 (software rendering, llvmpipe): a native
// GTK window fullscreen, the Shell's own virtual pointer driven across it without pause, so that
// the fog, medium, changes at every frame; the same motion without the fog in between. Figures:
// the Shell's frames a second and its processor time per frame, all its threads (llvmpipe draws
// on its own threads, after the frame's span on the main thread has ended, so the span alone
// misses most of the drawing), at scale 1 and at scale 2.
//
// Scale 2: the virtual monitor twice the size, its logical monitor set to scale 2 through
// org.gnome.Mutter.DisplayConfig (ApplyMonitorsConfig, for the session only), as GNOME's
// settings do: GNOME's default layout, in physical pixels; then the same with
// org.gnome.mutter's experimental "scale-monitor-framebuffer", whose layout is in logical
// pixels drawn at twice their size, as fractional scaling needs.
//
// The measures of a setup stop once the Shell's scripts no longer run (GNOME 43's gjs can stay
// convinced it collects garbage, and refuses every callback from then on), and say so.
// "olvane_shell_fog_bench 2 3" runs the second and third setups only.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ProcessFigures.h"
#include "app/ShellFogWindows.h"
#include "friction/FogEffectService.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/LoopFrameClock.h"
#include "platform/linux/AsyncBus.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/compositor/CompanionLink.h"
#include "platform/linux/compositor/CompanionPointer.h"
#include "platform/linux/compositor/CompanionWindowServer.h"
#include "platform/linux/compositor/CompanionWindows.h"
#include "platform/sim/SimOverlayWindows.h"
#include "support/WaylandDesktop.h"

namespace {

using olvane::bench::loadAverage;
using olvane::bench::percentile;
using olvane::bench::processorSeconds;

using namespace olvane;
using namespace std::chrono_literals;
namespace os = platform::os;
using Desktop = test::WaylandDesktop;

constexpr auto kPhase = 10s;
constexpr auto kSettle = 2s;
constexpr int kRounds = 3;
constexpr double kFrameBudgetMs = 1000.0 / 60;
// Below this the Shell lost frames (a headless monitor runs at 60 Hz).
constexpr double kFullRate = 57;
// What gjs logs for each callback it refuses while it thinks it collects garbage; GNOME 43's
// gjs can stay so, and then no script of the Shell runs any more.
constexpr const char* kScriptsBlocked = "during garbage collection";

struct Setup {
    const char* label;
    std::string size;
    int scale = 1;
    bool logicalLayout = false;
};

double ownProcessorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// ", 107 × 67 cellules de 12 px" for a fog update.
std::string gridOf(const std::string& request) {
    const auto update = json::parse(request);
    if (!update || !update->contains("fog")) {
        return {};
    }
    const auto& fog = (*update)["fog"];
    const auto cells = fog.value("cells", Json::array());
    if (cells.size() != 2) {
        return {};
    }
    return ", " + std::to_string(cells[0].get<int>()) + " × " +
           std::to_string(cells[1].get<int>()) + " cellules de " +
           std::to_string(fog.value("cell", 0)) + " px";
}

bool runToEnd(const std::string& program, const std::vector<std::string>& arguments) {
    test::ChildProcess child(program, arguments);
    const auto ended = child.wait(test::kPatience);
    return ended && ended->exited && ended->code == 0;
}

// Counts the Shell's frames, times each one's span on its main thread and the gaps between their
// ends, and moves its virtual pointer (the desktop's own) across the stage, 125 times a second,
// on a path that crosses the whole window in about two seconds; how late each of those moves
// comes tells how long the main thread was kept from its loop.
constexpr const char* kProbe = R"js(
const {GLib} = imports.gi;
const b = globalThis.olvaneBench = {frames: 0, spans: [], gaps: [], late: [], begun: 0, ended: 0};
global.stage.connect('before-update', () => { b.begun = GLib.get_monotonic_time(); });
global.stage.connect('after-update', () => {
    const now = GLib.get_monotonic_time();
    b.frames++;
    if (b.begun) b.spans.push(now - b.begun);
    if (b.ended) b.gaps.push(now - b.ended);
    b.begun = 0;
    b.ended = now;
});
const start = GLib.get_monotonic_time();
const [width, height] = [global.stage.width, global.stage.height];
let before = start;
GLib.timeout_add(GLib.PRIORITY_DEFAULT, 8, () => {
    const now = GLib.get_monotonic_time();
    b.late.push(now - before - 8000);
    before = now;
    const t = (now - start) / 1e6;
    olvanePointer.notify_absolute_motion(now, width * (0.5 + 0.42 * Math.sin(t * 1.7)),
                                         height * (0.5 + 0.4 * Math.sin(t * 2.3 + 0.5)));
    return GLib.SOURCE_CONTINUE;
});
true)js";

struct Phase {
    double seconds = 0;
    double frames = 0;
    double shellSeconds = 0;
    double ownSeconds = 0;
    std::vector<double> spansMs;
    std::vector<double> gapsMs;
    std::vector<double> lateMs;
    double fogUpdates = 0;
    double fogBytes = 0;
    double pointerReports = 0;
    std::string grid;

    double framesPerSecond() const { return frames / seconds; }
    double shellShare() const { return 100 * shellSeconds / seconds; }
    double shellPerFrameMs() const { return frames > 0 ? 1000 * shellSeconds / frames : 0; }
    // Frames that came a whole frame late or more.
    double lateFrames() const {
        return double(std::count_if(gapsMs.begin(), gapsMs.end(),
                                    [](double gap) { return gap > 1.5 * kFrameBudgetMs; }));
    }
};

class Bench {
  public:
    explicit Bench(const Setup& setup)
        : setup_(setup), desktop_({.kind = Desktop::Kind::gnomeShell, .size = setup.size}) {}

    bool start() {
        if (!desktop_.ready()) {
            std::printf("  bureau indisponible : %s\n", desktop_.why().c_str());
            return false;
        }
        if (setup_.logicalLayout &&
            !runToEnd("/usr/bin/gsettings", {"set", "org.gnome.mutter", "experimental-features",
                                             "['scale-monitor-framebuffer']"})) {
            std::printf("  réglage de mutter refusé\n");
            return false;
        }
        if (setup_.scale != 1 && !scaleTaken()) {
            return false;
        }
        bus_ = os::AsyncBus::open(loop_);
        link_ = bus_ ? os::CompanionLink::create(loop_, *bus_) : nullptr;
        if (!link_) {
            std::printf("  pas de nom so.olvane.mac\n");
            return false;
        }
        windows_ = std::make_unique<os::CompanionWindows>(*link_);
        windowServer_ = std::make_unique<os::CompanionWindowServer>(*windows_, nullptr);
        pointer_ = std::make_unique<os::CompanionPointer>(loop_, *link_, *windows_, nullptr);
        fogWindows_ = std::make_unique<ShellFogWindows>(*link_, *windows_, ownWindows_);
        fog_ = std::make_unique<FogEffectService>(
            FogEffectService::Collaborators{*fogWindows_, frames_, *pointer_, clock_});
        fog_->setIntensity(FogIntensity::medium);
        pointerReports_ = link_->observePointer([this](const platform::Point&) { ++pointed_; });
        return openFullscreenWindow() && eval(kProbe);
    }

    void measure() {
        std::printf("  %s, stage %s, charge %s\n", setup_.label, stageSize().c_str(),
                    loadAverage().c_str());
        std::vector<Phase> without;
        std::vector<Phase> with;
        runFor(kSettle);
        for (int round = 0; round < kRounds; ++round) {
            if (!takePhase("sans buée", without)) {
                break;
            }
            fog_->activate({*target_});
            runFor(kSettle);
            const bool drawn = takePhase("avec buée", with);
            if (drawn && round == 0) {
                std::printf("      (voile dans la Shell : %s, fenêtres d’OlvaneMac : %zu)\n",
                            fogShown() ? "oui" : "NON", ownWindows_.made().size());
            }
            fog_->deactivate();
            if (!drawn) {
                break;
            }
            runFor(kSettle);
        }
        verdict(without, with);
        if (scriptsBlocked()) {
            std::printf(
                "    mais la Shell s’est bloquée sous la buée : ni budget ni trames qui "
                "tiennent\n");
        }
        tellShellErrors();
    }

  private:
    // False once the Shell no longer draws: what follows would measure nothing.
    bool takePhase(const char* what, std::vector<Phase>& phases) {
        const auto measured = phase();
        if (!measured || scriptsBlocked()) {
            std::printf("    %s  la Shell %s : mesures arrêtées\n", what,
                        measured ? "s’est bloquée pendant la mesure" : "ne dessine plus");
            return false;
        }
        print(what, *measured);
        phases.push_back(*measured);
        return true;
    }

    bool eval(const std::string& script) { return desktop_.shellEval(script) == "true"; }

    std::string stageSize() {
        const auto size = desktop_.shellEval(
            "`${global.stage.width}x${global.stage.height} px, échelle "
            "${global.display.get_monitor_scale(0)}`");
        return size && size->size() > 2 ? size->substr(1, size->size() - 2) : "?";
    }

    bool scaleTaken() {
        if (!desktop_.setMonitorScale(setup_.scale)) {
            std::printf("  l’échelle %d ne prend pas\n", setup_.scale);
            return false;
        }
        return true;
    }

    // A GTK window the size of the screen, made fullscreen by the Shell, as the companion sees it.
    bool openFullscreenWindow() {
        const auto stage = desktop_.shellEval("`${global.stage.width}x${global.stage.height}`");
        if (!stage || stage->size() < 3) {
            return false;
        }
        const auto stagePixels = stage->substr(1, stage->size() - 2);
        const auto cross = stagePixels.find('x');
        const double width = std::strtod(stagePixels.c_str(), nullptr);
        const double height = std::strtod(stagePixels.c_str() + cross + 1, nullptr);
        const auto logical =
            std::to_string(int(width) / (setup_.logicalLayout ? 1 : setup_.scale)) + "x" +
            std::to_string(int(height) / (setup_.logicalLayout ? 1 : setup_.scale));
        native_ = std::make_unique<test::NativeWindow>("so.olvane.bench.Plein", "Plein", logical,
                                                       "#000000");
        if (!native_->ready() ||
            !eval("global.display.list_all_windows().find(w => w.get_pid() === " +
                  std::to_string(native_->pid()) + ").make_fullscreen(); true")) {
            std::printf("  la fenêtre GTK ne s’ouvre pas en plein écran\n");
            return false;
        }
        const bool whole = runUntil(
            [&] {
                target_ = targetOf(native_->pid());
                return target_ && target_->bounds.width == width &&
                       target_->bounds.height == height;
            },
            test::kPatience);
        if (!whole) {
            std::printf("  le compagnon ne montre pas la fenêtre en plein écran\n");
        }
        return whole;
    }

    std::optional<TargetWindow> targetOf(pid_t pid) {
        const auto list = windowServer_->windowList(platform::WindowListScope::OnScreenOnly)
                              .value_or(std::vector<platform::WindowInfo>{});
        for (const auto& window : list) {
            if (window.ownerPid == pid) {
                return TargetWindow{window.windowNumber, window.bounds};
            }
        }
        return std::nullopt;
    }

    bool fogShown() {
        return eval("global.display.list_all_windows().find(w => w.get_pid() === " +
                    std::to_string(native_->pid()) +
                    ").get_compositor_private().get_n_children() > 1");
    }

    bool scriptsBlocked() const {
        return desktop_.compositorLog().find(kScriptsBlocked) != std::string::npos;
    }

    // What the Shell logged as errors meanwhile: a figure taken past one is no figure.
    void tellShellErrors() const {
        std::istringstream lines(desktop_.compositorLog());
        std::string shown;
        int errors = 0;
        bool blocked = false;
        for (std::string line; std::getline(lines, line);) {
            blocked = blocked || line.find(kScriptsBlocked) != std::string::npos;
            if (line.find("JS ERROR") != std::string::npos ||
                line.find("CRITICAL") != std::string::npos) {
                if (++errors <= 5) {
                    shown += "      " + line + "\n";
                }
            }
        }
        if (errors > 0) {
            std::printf("    la Shell a signalé %d erreurs, dont :\n%s", errors, shown.c_str());
        }
        if (blocked) {
            std::printf(
                "    son JavaScript est bloqué : gjs refuse tout rappel « during garbage "
                "collection », extension et Shell comprises\n");
        }
    }

    bool runUntil(const std::function<bool()>& condition, platform::Duration timeout) {
        return condition() || loop_.runUntil(condition, timeout);
    }

    void runFor(platform::Duration span) {
        loop_.runUntil([] { return false; }, span);
    }

    // The Shell's frames, their spans and gaps, and its loop's lateness since the last call.
    struct Frames {
        double count = 0;
        std::vector<double> spansMs;
        std::vector<double> gapsMs;
        std::vector<double> lateMs;
    };
    std::optional<Frames> takeFrames() {
        const auto text = desktop_.shellEval(
            "const b = olvaneBench; const taken = JSON.stringify({frames: b.frames, spans: "
            "b.spans, gaps: b.gaps, late: b.late}); b.spans = []; b.gaps = []; b.late = []; "
            "b.ended = 0; taken");
        // Eval answers with a JSON string that holds the JSON.
        const auto outer = text ? json::parse(*text) : std::nullopt;
        const auto inner =
            outer && outer->is_string() ? json::parse(outer->get<std::string>()) : std::nullopt;
        if (!inner || !inner->is_object()) {
            return std::nullopt;
        }
        Frames frames;
        frames.count = inner->value("frames", 0.0);
        const auto milliseconds = [&](const char* key, std::vector<double>& into) {
            for (const auto& microseconds : inner->value(key, Json::array())) {
                into.push_back(microseconds.get<double>() / 1000);
            }
        };
        milliseconds("spans", frames.spansMs);
        milliseconds("gaps", frames.gapsMs);
        milliseconds("late", frames.lateMs);
        return frames;
    }

    std::optional<Phase> phase() {
        Phase measured;
        const auto fogCounter = link_->addRequestSource([&](std::vector<std::string>& requests) {
            for (const auto& request : requests) {
                if (request.starts_with(R"({"fog")")) {
                    if (measured.fogUpdates == 0) {
                        measured.grid = gridOf(request);
                    }
                    ++measured.fogUpdates;
                    measured.fogBytes += double(request.size());
                }
            }
        });
        const pid_t shell = desktop_.compositorPid();
        const auto framesBefore = takeFrames();
        const auto shellBefore = processorSeconds(shell);
        const double ownBefore = ownProcessorSeconds();
        const int pointedBefore = pointed_;
        const auto start = std::chrono::steady_clock::now();
        runFor(kPhase);
        measured.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const auto shellAfter = processorSeconds(shell);
        measured.ownSeconds = ownProcessorSeconds() - ownBefore;
        measured.pointerReports = pointed_ - pointedBefore;
        auto taken = takeFrames();
        if (!framesBefore || !taken || taken->count <= framesBefore->count) {
            return std::nullopt;
        }
        measured.frames = taken->count - framesBefore->count;
        measured.spansMs = std::move(taken->spansMs);
        measured.gapsMs = std::move(taken->gapsMs);
        measured.lateMs = std::move(taken->lateMs);
        measured.shellSeconds = shellBefore && shellAfter ? *shellAfter - *shellBefore : 0;
        return measured;
    }

    static void print(const char* what, const Phase& p) {
        std::printf("    %s  %5.1f trames/s   Shell %5.1f %%, %5.2f ms de processeur par trame\n",
                    what, p.framesPerSecond(), p.shellShare(), p.shellPerFrameMs());
        std::printf(
            "               trame sur le fil principal : médiane %4.2f ms, p90 %4.2f ms ;"
            " entre deux trames : p90 %4.1f ms, max %5.1f ms, %3.0f en retard\n",
            percentile(p.spansMs, 0.5), percentile(p.spansMs, 0.9), percentile(p.gapsMs, 0.9),
            percentile(p.gapsMs, 1), p.lateFrames());
        std::printf("               retard de la boucle de la Shell : p99 %4.1f ms, max %5.1f ms\n",
                    percentile(p.lateMs, 0.99), percentile(p.lateMs, 1));
        if (p.fogUpdates > 0 || p.pointerReports > 0) {
            std::printf(
                "               buée : %5.1f mises à jour/s de %5.1f Kio en moyenne, "
                "pointeur dit %5.1f fois/s, OlvaneMac %4.1f %%%s\n",
                p.fogUpdates / p.seconds, p.fogUpdates > 0 ? p.fogBytes / p.fogUpdates / 1024 : 0,
                p.pointerReports / p.seconds, 100 * p.ownSeconds / p.seconds, p.grid.c_str());
        }
    }

    static void verdict(const std::vector<Phase>& without, const std::vector<Phase>& with) {
        const auto medianOf = [](const std::vector<Phase>& phases, auto figure) {
            std::vector<double> values;
            for (const auto& p : phases) {
                values.push_back((p.*figure)());
            }
            return percentile(values, 0.5);
        };
        if (with.empty() || without.empty()) {
            std::printf("    pas de mesure complète avec et sans buée\n");
            return;
        }
        const double fogFrame = medianOf(with, &Phase::shellPerFrameMs);
        const double bareFrame = medianOf(without, &Phase::shellPerFrameMs);
        const double fogRate = medianOf(with, &Phase::framesPerSecond);
        const bool held = fogRate >= kFullRate && fogFrame <= kFrameBudgetMs;
        std::printf(
            "    la buée ajoute %.2f ms de processeur par trame (%.2f contre %.2f ms) ;"
            " %.1f trames/s avec elle\n",
            fogFrame - bareFrame, fogFrame, bareFrame, fogRate);
        std::printf(
            "    trame de la buée dans le budget de %.1f ms à 60 Hz, rendu logiciel : "
            "%s\n",
            kFrameBudgetMs, held ? "oui" : "NON");
    }

    Setup setup_;
    Desktop desktop_;
    os::EpollRunLoop loop_;
    os::SystemClock clock_;
    platform::LoopFrameClock frames_{loop_, FogEffectService::kMinFrameInterval};
    std::unique_ptr<os::AsyncBus> bus_;
    std::unique_ptr<os::CompanionLink> link_;
    std::unique_ptr<os::CompanionWindows> windows_;
    std::unique_ptr<os::CompanionWindowServer> windowServer_;
    std::unique_ptr<os::CompanionPointer> pointer_;
    platform::sim::SimOverlayWindows<FogEffectState> ownWindows_;
    std::unique_ptr<ShellFogWindows> fogWindows_;
    std::unique_ptr<FogEffectService> fog_;
    std::unique_ptr<test::NativeWindow> native_;
    std::optional<TargetWindow> target_;
    platform::Handle pointerReports_;
    int pointed_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    std::printf("Buée dessinée dans GNOME Shell (rendu logiciel), pointeur en mouvement continu\n");
    if (!Desktop::installed(Desktop::Kind::gnomeShell)) {
        std::printf("  GNOME Shell absent de cette machine\n");
        return 0;
    }
    const std::vector<Setup> setups = {
        {"échelle 1", "1280x800", 1, false},
        {"échelle 2, disposition physique (celle de GNOME par défaut)", "2560x1600", 2, false},
        {"échelle 2, disposition logique (scale-monitor-framebuffer)", "2560x1600", 2, true},
    };
    for (std::size_t i = 0; i < setups.size(); ++i) {
        const auto& setup = setups[i];
        if (argc > 1 && std::find_if(argv + 1, argv + argc, [i](const char* chosen) {
                            return std::strtoul(chosen, nullptr, 10) == i + 1;
                        }) == argv + argc) {
            continue;
        }
        std::printf("\n");
        Bench bench(setup);
        if (bench.start()) {
            bench.measure();
        }
    }
    return 0;
}

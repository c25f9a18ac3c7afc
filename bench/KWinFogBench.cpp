// KWin's processor time while its own pointer crosses a fullscreen native GTK window without
// pause, the real OlvaneMac fogging that window (an Xwayland window of OlvaneMac's kept above
// it by the KWin script), against OlvaneMac running without the fog; at scale 1 and 2, software
// rendering. KWin tells an outside program nothing of its frames, but its virtual output draws
// the pointer itself and repaints at each move, and the pointer moves once every 60 Hz frame:
// the time per move stands for the time per frame. Figures: the processor time per frame of
// KWin, of Xwayland and of OlvaneMac, all their threads.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "ProcessFigures.h"
#include "model/SettingsManager.h"
#include "model/UserSettings.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/FileKeyValueStore.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/compositor/CompanionWorkspace.h"
#include "platform/linux/compositor/KWinCompanionScript.h"
#include "support/WaylandDesktop.h"

namespace {

using olvane::bench::processorSeconds;

using namespace olvane;
using namespace std::chrono_literals;
namespace os = platform::os;
namespace fs = std::filesystem;
using Desktop = test::WaylandDesktop;

constexpr auto kPhase = 10s;
constexpr auto kFrame = std::chrono::microseconds(16667);
constexpr double kFrameBudgetMs = 1000.0 / 60;

pid_t processNamed(const std::string& name) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const auto comm = platform::readWholeFile(entry.path() / "comm");
        if (comm && comm->substr(0, comm->find('\n')) == name) {
            return static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
        }
    }
    return -1;
}

struct Figures {
    double kwin = 0, xwayland = 0, olvane = 0;
    int moves = 0;
};

class Setup {
  public:
    explicit Setup(int scale)
        : scale_(scale),
          desktop_({.kind = Desktop::Kind::kwin,
                    .size = std::to_string(1280 * scale) + "x" + std::to_string(800 * scale),
                    .scale = double(scale)}) {}

    void run() {
        std::printf("\n  échelle %d, écran %dx%d px\n", scale_, 1280 * scale_, 800 * scale_);
        if (!desktop_.ready()) {
            std::printf("    KWin ne démarre pas : %s\n", desktop_.why().c_str());
            return;
        }
        test::NativeWindow target("so.olvane.bench.Target", "Cible", "640x400", "#000000");
        if (!target.ready() || !desktop_.kwinScript(kFullscreen)) {
            std::printf("    pas de fenêtre plein écran\n");
            return;
        }
        const auto id = applicationOf(target.pid());
        if (id.empty()) {
            std::printf("    l’application de la fenêtre reste inconnue\n");
            return;
        }
        const auto without = measure(id, false);
        const auto with = measure(id, true);
        if (!without || !with) {
            return;
        }
        print("sans buée", *without);
        print("avec buée", *with);
        const double added =
            perFrame(with->kwin + with->xwayland + with->olvane, *with) -
            perFrame(without->kwin + without->xwayland + without->olvane, *without);
        std::printf(
            "    la buée ajoute %.2f ms de processeur par trame (KWin, Xwayland et "
            "OlvaneMac) ; budget de %.1f ms à 60 Hz, rendu logiciel : %s\n",
            added, kFrameBudgetMs,
            perFrame(with->kwin + with->xwayland + with->olvane, *with) < kFrameBudgetMs
                ? "tenu"
                : "DÉPASSÉ");
    }

  private:
    static constexpr const char* kFullscreen =
        "(workspace.windowList ? workspace.windowList() : workspace.clientList())"
        ".filter(w => w.caption === 'Cible').forEach(w => { w.fullScreen = true; });";

    static constexpr const char* kActivate =
        "const w = (workspace.windowList ? workspace.windowList() : workspace.clientList())"
        ".find(w => w.caption === 'Cible'); if (workspace.windowList) { workspace.activeWindow = "
        "w; } else { workspace.activeClient = w; }";

    bool fogShown() {
        const auto fogs = desktop_.kwinScript(
            "print((workspace.windowList ? workspace.windowList() : workspace.clientList())"
            ".filter(w => w.caption.startsWith('Buée')).length);");
        return fogs && !fogs->empty() && fogs->front() != "0";
    }

    // The application OlvaneMac will see in front, as its own workspace names it.
    std::string applicationOf(pid_t pid) {
        os::EpollRunLoop loop;
        os::PidfdProcessWatcher processes(loop);
        const auto bus = os::AsyncBus::open(loop);
        const auto link = bus ? os::CompanionLink::create(loop, *bus) : nullptr;
        if (!link) {
            return {};
        }
        os::CompanionWindows windows(*link);
        const auto paths = platform::Paths::fromProcessEnvironment();
        os::CompanionWorkspace workspace(loop, processes, *link, windows,
                                         paths.applicationEntryFolders(), nullptr);
        const os::KWinCompanionScript script(*bus, desktop_.home().root() / "runtime/bench.js");
        std::string id;
        loop.runUntil(
            [&] {
                const auto front = workspace.frontmostApplication();
                if (front && front->processIdentifier == pid && front->bundleIdentifier) {
                    id = *front->bundleIdentifier;
                }
                return !id.empty();
            },
            test::kPatience);
        return id;
    }

    std::optional<Figures> measure(const std::string& id, bool fog) {
        if (!writeSettings(id, fog)) {
            std::printf("    préférences non écrites\n");
            return std::nullopt;
        }
        const auto log = desktop_.home().root() / "olvanemac.log";
        test::ChildProcess olvane(
            "/bin/sh", {"-c", "exec \"$0\" >'" + log.string() + "' 2>&1", OLVANE_APP_EXECUTABLE});
        const auto deadline = std::chrono::steady_clock::now() + test::kPatience;
        while (platform::readWholeFile(log).value_or("").find(
                   "toutes les fenêtres de la session sont vues") == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline) {
                std::printf("    OlvaneMac ne voit pas les fenêtres de la session\n");
                return std::nullopt;
            }
            std::this_thread::sleep_for(100ms);
        }
        // Brought forward once OlvaneMac watches, and again while its main window comes; its
        // fog, if any, comes.
        for (int tries = 0; tries < 20 && fogShown() != fog; ++tries) {
            desktop_.kwinScript(kActivate);
            std::this_thread::sleep_for(1s);
        }
        if (fogShown() != fog) {
            std::printf("    la buée ne vient pas sur la fenêtre : mesures sans valeur\n");
            return std::nullopt;
        }
        const pid_t kwin = desktop_.compositorPid();
        const pid_t xwayland = processNamed("Xwayland");
        Figures figures;
        const double kwinBefore = processorSeconds(kwin).value_or(0);
        const double xwaylandBefore = processorSeconds(xwayland).value_or(0);
        const double olvaneBefore = processorSeconds(olvane.pid()).value_or(0);
        const auto start = std::chrono::steady_clock::now();
        auto next = start;
        while (std::chrono::steady_clock::now() - start < kPhase) {
            const double angle = figures.moves * 0.05;
            desktop_.movePointer(640 + 400 * std::cos(angle), 400 + 250 * std::sin(angle));
            ++figures.moves;
            next += kFrame;
            std::this_thread::sleep_until(next);
        }
        figures.kwin = processorSeconds(kwin).value_or(0) - kwinBefore;
        figures.xwayland = processorSeconds(xwayland).value_or(0) - xwaylandBefore;
        figures.olvane = processorSeconds(olvane.pid()).value_or(0) - olvaneBefore;
        return figures;
    }

    bool writeSettings(const std::string& id, bool fog) {
        UserSettings settings;
        settings.onboardingCompleted = true;
        settings.onboardingVersion = 1;
        RedListConfig target;
        target.id = Uuid::random();
        target.targetIdentifier = id;
        target.targetDisplayName = "Cible";
        target.isFogEnabled = fog;
        settings.redListConfigs = {target};
        os::SystemClock clock;
        return os::FileKeyValueStore(platform::Paths::fromProcessEnvironment().defaultsFile(),
                                     clock)
            .set(SettingsManager::kSettingsKey, settings.jsonText())
            .ok();
    }

    static double perFrame(double seconds, const Figures& figures) {
        return figures.moves ? 1000 * seconds / figures.moves : 0;
    }

    void print(const char* label, const Figures& f) const {
        std::printf(
            "    %s  %.1f mouvements du pointeur/s, une trame chacun ; processeur par trame : KWin "
            "%.2f ms, Xwayland %.2f ms, "
            "OlvaneMac %.2f ms\n",
            label, f.moves / std::chrono::duration<double>(kPhase).count(), perFrame(f.kwin, f),
            perFrame(f.xwayland, f), perFrame(f.olvane, f));
    }

    int scale_;
    Desktop desktop_;
};

}  // namespace

int main() {
    std::printf(
        "Buée de KWin sur une fenêtre native plein écran (rendu logiciel), pointeur en "
        "mouvement continu\n");
    for (const int scale : {1, 2}) {
        Setup(scale).run();
    }
    return 0;
}

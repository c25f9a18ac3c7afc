// The real object graph over a temporary home: real files, inotify on the virtual-time loop, the
// simulated display, a user service manager in memory.
#include <gtest/gtest.h>

#include <chrono>

#include "app/AppServices.h"
#include "app/MenuBarPresence.h"
#include "grayscale/GrayscaleFilterService.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/LoopFrameClock.h"
#include "platform/linux/FileKeyValueStore.h"
#include "platform/linux/FreedesktopTrash.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/linux/XdgAutostartLoginItems.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryServiceManager.h"
#include "platform/sim/RecordingDetachedProcesses.h"
#include "platform/sim/ScriptedSystemEvents.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimEventTap.h"
#include "platform/sim/SimGrayscaleSwitch.h"
#include "platform/sim/SimKeyEventSource.h"
#include "platform/sim/SimOverlayWindows.h"
#include "platform/sim/SimSafariExtensionManager.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/SimulatedDisplayDevice.h"
#include "platform/sim/SimulatedDisplayFile.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::sim::SimulatedDisplayFile;

class NoMenuBar final : public MenuBarPresence {
  public:
    void setupMenuBar() override {}
    void updateStatusItemIcon() override {}
    void hideExtensionWarning() override {}
};

void put(const fs::path& file, const std::string& text) {
    ASSERT_TRUE(platform::ensurePrivateFolder(file.parent_path()));
    ASSERT_TRUE(platform::writeFileAtomically(file, text, 0700));
}

// Every regular file under `root` outside `skip`, relative to root.
std::vector<std::string> filesUnder(const fs::path& root, const fs::path& skip) {
    std::vector<std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::end(it);
         it.increment(ec)) {
        if (it->path() == skip) {
            it.disable_recursion_pending();
        } else if (!it->is_directory()) {
            files.push_back(fs::relative(it->path(), root).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// One run of the program: its platform and its services, made from what the home holds.
struct ProgramRun {
    const platform::Paths& paths;
    const fs::path& program;
    platform::sim::ManualRunLoop loop;
    platform::os::InotifyFileWatcher files{loop};
    platform::os::FileKeyValueStore defaults{paths.defaultsFile(), loop.clock()};
    platform::sim::SimulatedDisplayDevice display{SimulatedDisplayFile::defaultPath(paths)};
    platform::sim::SimGrayscaleSwitch grayscaleSwitch;
    platform::sim::SimAccessibilityTrust trust{true};
    platform::sim::SimKeyEventSource keys;
    platform::sim::SimWorkspace workspace;
    platform::sim::SimWindowServer windowServer;
    platform::sim::SimEventTap eventTap;
    platform::sim::SimOverlayWindows<FogEffectState> fogWindows;
    platform::LoopFrameClock frameClock{loop, FogEffectService::kMinFrameInterval};
    platform::sim::SimOverlayWindows<DelayPanelState> delayPanels;
    platform::sim::ScriptedSystemEvents systemEvents;
    platform::sim::MemoryServiceManager userServices;
    platform::sim::RecordingDetachedProcesses detachedProcesses;
    platform::os::XdgAutostartLoginItems loginItems{paths, program};
    platform::os::FreedesktopTrash trash{paths.trashFolder(), loop.clock()};
    platform::sim::SimSafariExtensionManager safari;
    AppState appState;
    NoMenuBar menuBar;
    int terminations = 0;
    AppServices services{
        PlatformBackends{.loop = loop,
                         .clock = loop.clock(),
                         .paths = paths,
                         .files = files,
                         .defaults = defaults,
                         .display = display,
                         .grayscaleSwitch = grayscaleSwitch,
                         .accessibilityTrust = trust,
                         .keys = keys,
                         .workspace = workspace,
                         .windowServer = windowServer,
                         .eventTap = eventTap,
                         .eventTapTrust = trust,
                         .fogWindows = fogWindows,
                         .pointer = eventTap,
                         .frameClock = frameClock,
                         .delayPanels = delayPanels,
                         .systemEvents = systemEvents,
                         .userServices = userServices,
                         .detachedProcesses = detachedProcesses,
                         .loginItems = loginItems,
                         .trash = trash,
                         .safariExtensions = safari,
                         .watchdogExecutable = program.parent_path() / "OlvaneWatchdog",
                         .hostExecutable = program.parent_path() / "olvanemac-host",
                         .bundle = ApplicationBundle::locate(program, std::nullopt, paths)},
        appState, menuBar, [this] {
            ++terminations;
            // The program's end runs the shutdown, as aboutToQuit does.
            services.delegate().performShutdown();
        }};

    ProgramRun(const platform::Paths& p, const fs::path& prog) : paths(p), program(prog) {}

    // Lets time pass while inotify events keep arriving.
    void pump(double seconds) {
        for (double t = 0; t < seconds; t += 0.05) {
            loop.processIo(0ms);
            loop.advanceSeconds(0.05);
        }
        loop.processIo(5ms);
        loop.runPending();
    }
    std::optional<std::uint32_t> displayMode() const {
        const auto state = SimulatedDisplayFile::read(display.file());
        return state ? state->mode(SimulatedDisplayFile::kDefaultDisplayId) : std::nullopt;
    }
    bool hasRecord() const { return defaults.get(SettingsManager::kLastKnownStateKey).isPresent(); }
};

struct Installed {
    test::TempHome home;
    platform::Paths paths = home.paths();
    fs::path program = home.root() / "Applications" / "OlvaneMac" / "OlvaneMac";

    Installed() {
        put(program, "programme");
        put(program.parent_path() / "OlvaneWatchdog", "agent");
        // A user who wants the filter and to start at login.
        platform::sim::ManualRunLoop loop;
        platform::os::FileKeyValueStore store(paths.defaultsFile(), loop.clock());
        SettingsManager settings(store, loop.clock());
        settings.settings().userWantsGrayscaleEnabled = true;
        settings.settings().launchAtLogin = true;
        EXPECT_TRUE(settings.saveSettings());
    }
};

TEST(AppServices, ACleanRunLeavesTheDisplayInColourAndNoRecord) {
    Installed system;
    {
        ProgramRun run(system.paths, system.program);
        ASSERT_TRUE(run.files.valid());
        EXPECT_FALSE(run.services.hasGrayscale());
        run.services.delegate().performStartup();
        EXPECT_TRUE(run.services.hasGrayscale());
        EXPECT_TRUE(run.appState.isGrayscaleFilterEnabled());
        EXPECT_EQ(run.displayMode(), platform::kRemapModeGrayscale);
        EXPECT_TRUE(run.hasRecord());
        EXPECT_EQ(platform::readWholeFile(system.paths.dataFolder() / "watchdog-pid"),
                  std::to_string(::getpid()));
        EXPECT_TRUE(fs::exists(system.paths.autostartEntry()));
        EXPECT_TRUE(fs::exists(system.paths.watchdogUnitFile()));
        const auto manifest = platform::readWholeFile(
            system.home.root() / ".mozilla/native-messaging-hosts/com.olvanemac.host.json");
        ASSERT_TRUE(manifest);
        EXPECT_EQ(json::parseObject(*manifest)->at("path"),
                  (system.program.parent_path() / "olvanemac-host").string());
        EXPECT_TRUE(run.services.extensionStatus().isStarted());

        run.services.delegate().performShutdown();
        EXPECT_FALSE(run.services.extensionStatus().isStarted());
        EXPECT_EQ(run.displayMode(), platform::kRemapModeColour);
        EXPECT_FALSE(run.hasRecord());
        EXPECT_FALSE(fs::exists(system.paths.dataFolder() / "watchdog-pid"));
    }
    // The next run starts clean and leaves the filter off when the user no longer wants it.
    platform::sim::ScopedLogCapture log;
    ProgramRun next(system.paths, system.program);
    next.services.settings().settings().userWantsGrayscaleEnabled = false;
    next.services.delegate().performStartup();
    EXPECT_FALSE(next.services.crashRecovery().crashDetected());
    EXPECT_FALSE(next.services.hasGrayscale());
    EXPECT_TRUE(log->contains("Aucun état précédent trouvé - démarrage propre"));
}

TEST(AppServices, ARunThatNeverShutDownIsCleanedUpAtTheNextLaunch) {
    Installed system;
    {
        ProgramRun crashed(system.paths, system.program);
        crashed.services.delegate().performStartup();
        ASSERT_EQ(crashed.displayMode(), platform::kRemapModeGrayscale);
    }
    ProgramRun run(system.paths, system.program);
    platform::sim::ScopedLogCapture log;
    run.services.delegate().performStartup();
    EXPECT_TRUE(run.services.crashRecovery().crashDetected());
    EXPECT_TRUE(log->contains("App", platform::LogLevel::Error,
                              "Crash précédent détecté - effets réinitialisés"));
    EXPECT_TRUE(log->contains("Force désactivation du filtre N&B"));
    // The wanted filter comes back after the reset.
    EXPECT_EQ(run.displayMode(), platform::kRemapModeGrayscale);
    EXPECT_FALSE(run.services.settings().settings().grayscaleWasActiveOnShutdown);
    EXPECT_TRUE(run.hasRecord());
}

// Killed together with its watchdog, with no crash record to tell: the desktop's values still
// waiting make its grayscale ours, and a start with the filter off gives them back. After a
// crash the forced reset tried already: a desktop that refuses is not asked twice.
TEST(AppServices, DesktopValuesLeftWaitingAreGivenBackOnceAtAStartWithTheFilterOff) {
    Installed system;
    for (const bool crashed : {false, true}) {
        SCOPED_TRACE(crashed ? "after a crash" : "no crash record");
        {
            ProgramRun killed(system.paths, system.program);
            killed.services.settings().settings().userWantsGrayscaleEnabled = false;
            ASSERT_TRUE(killed.services.settings().saveSettings());
            if (crashed) {
                killed.services.delegate().performStartup();
            }
        }
        ProgramRun run(system.paths, system.program);
        run.grayscaleSwitch.setKeepsUserValues(true);
        if (crashed) {
            run.grayscaleSwitch.setFailure("Réglages du zoom non rendus");
        }
        platform::sim::ScopedLogCapture log;
        run.services.delegate().performStartup();
        ASSERT_EQ(run.services.crashRecovery().crashDetected(), crashed);
        EXPECT_EQ(run.grayscaleSwitch.setCount(), 1);
        EXPECT_EQ(run.grayscaleSwitch.keepsUserValues(), crashed);
        EXPECT_EQ(log->count("N&B du bureau laissé par une exécution précédente : réglages de "
                             "l’utilisateur remis"),
                  crashed ? 0u : 1u);
        run.services.delegate().performShutdown();
    }
}

TEST(AppServices, AFogTargetStartsMonitoringAndShutdownTakesEveryEffectDown) {
    Installed system;
    ProgramRun run(system.paths, system.program);
    RedListConfig target;
    target.targetIdentifier = "org.gnome.TextEditor";
    target.isFogEnabled = true;
    target.isTurtleEnabled = true;
    run.services.settings().settings().redListConfigs = {target};
    run.services.delegate().performStartup();
    ASSERT_TRUE(run.services.appMonitoring().isMonitoring());
    EXPECT_TRUE(run.services.appMonitoring().browserWatcher("org.mozilla.firefox")->isStarted());
    run.workspace.launch({"org.gnome.TextEditor", "Éditeur", 100, std::nullopt});
    run.windowServer.setWindows({{7, 100, {0, 0, 800, 600}}});
    run.workspace.activate(100);
    ASSERT_EQ(run.fogWindows.open().size(), 1u);
    ASSERT_EQ(run.appState.activeFrictionEffects().size(), 2u);

    run.services.delegate().performShutdown();
    EXPECT_FALSE(run.services.appMonitoring().isMonitoring());
    EXPECT_TRUE(run.appState.activeFrictionEffects().empty());
    EXPECT_FALSE(run.eventTap.hasTap());
    EXPECT_TRUE(run.fogWindows.open().empty());
}

// The watchers of a running filter see their files deleted by the uninstall; stopped first,
// none of them comes back to seed the deleted folders.
TEST(AppServices, TheUninstallOfARunningProgramLeavesNothingOfTheSystemOnDisk) {
    Installed system;
    ProgramRun run(system.paths, system.program);
    run.services.delegate().performStartup();
    ASSERT_TRUE(run.services.grayscale().commandFileWatchers().grayscale().isWatching());
    ASSERT_TRUE(fs::exists(system.paths.sharedContainer() / "grayscale-command.json"));
    // The desktop's startup-applications tool made a login entry of the menu entry.
    const auto autostart = system.paths.configHome() / "autostart";
    put(autostart / "so.olvane.mac.desktop",
        platform::os::XdgAutostartLoginItems::entryText(system.program));
    put(autostart / "autre.desktop", "[Desktop Entry]\nExec=/usr/bin/true\n");

    platform::sim::ScopedLogCapture log;
    run.appState.isUninstalling.set(true);
    run.services.uninstallService().uninstall();
    run.pump(3.0);

    EXPECT_EQ(run.terminations, 1);
    EXPECT_TRUE(
        log->contains("Désinstallation en cours — fermeture propre déléguée à UninstallService"));
    EXPECT_EQ(run.displayMode(), platform::kRemapModeColour);
    EXPECT_FALSE(run.services.grayscale().commandFileWatchers().grayscale().isWatching());
    EXPECT_EQ(run.userServices.calls().back(), "reload");
    // The session's runtime folder holds only the simulated display, gone with the session.
    EXPECT_EQ(filesUnder(system.home.root(), system.home.root() / "runtime"),
              (std::vector<std::string>{".config/autostart/autre.desktop",
                                        ".local/share/Trash/files/OlvaneMac/OlvaneMac",
                                        ".local/share/Trash/files/OlvaneMac/OlvaneWatchdog",
                                        ".local/share/Trash/info/OlvaneMac.trashinfo"}));
}

}  // namespace
}  // namespace olvane

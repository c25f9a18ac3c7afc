#include <gtest/gtest.h>

#include "RecordingServices.h"
#include "app/AppState.h"
#include "app/CrashRecoveryService.h"
#include "app/UninstallService.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "platform/FileIO.h"
#include "platform/linux/FileKeyValueStore.h"
#include "platform/linux/FreedesktopTrash.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::LogLevel;
using platform::sim::ManualRunLoop;
using platform::sim::ScopedLogCapture;
using Entries = std::vector<std::string>;

void put(const fs::path& file, const std::string& text) {
    ASSERT_TRUE(platform::ensurePrivateFolder(file.parent_path()));
    ASSERT_TRUE(platform::writeFileAtomically(file, text));
}

// Every regular file under `root`, relative to it.
Entries filesUnder(const fs::path& root) {
    Entries files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::end(it);
         it.increment(ec)) {
        if (!it->is_directory()) {
            files.push_back(fs::relative(it->path(), root).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A user's home as a run of the application leaves it, with an installed copy of the program.
struct InstalledSystem {
    test::TempHome home;
    platform::Paths paths = home.paths();
    ManualRunLoop loop;
    AppState appState;
    test::Timeline timeline;
    test::RecordingServices services{timeline, appState.isGrayscaleFilterEnabled};
    platform::os::FileKeyValueStore defaults{paths.defaultsFile(), loop.clock()};
    SettingsManager settings{defaults, loop.clock()};
    CrashRecoveryService crashRecovery{settings, defaults, appState.isGrayscaleFilterEnabled,
                                       services};
    RulesFileService rulesFile{paths};
    platform::os::FreedesktopTrash trash{paths.trashFolder(), loop.clock()};
    fs::path program = home.root() / "Applications" / "OlvaneMac" / "OlvaneMac";
    int terminations = 0;
    std::optional<UninstallService> uninstaller;

    InstalledSystem() {
        EXPECT_TRUE(settings.saveSettings());
        crashRecovery.saveInitialState();
        rulesFile.updateRules("_grayscale", Json{{"allowedSites", {"wikipedia.org"}}});
        put(paths.dataFolder() / "watchdog-pid", "4711");
        put(paths.dataFolder() / "chrome-site.json", "{}");
        put(paths.cachesFolder() / "favicons" / "youtube.com.png", "png");
        put(paths.sharedContainer() / "safari-site.json", "{}");
        put(paths.runtimeFolder() / "instance.lock", "");
        put(paths.runtimeFolder() / "simulated-display.json", R"({"displays": []})");
        put(program, "programme");
        put(program.parent_path() / "OlvaneWatchdog", "agent");
        put(paths.dataHome() / "applications" / "so.olvane.mac.desktop", "[Desktop Entry]\n");
        appState.isGrayscaleFilterEnabled.set(true);
        appState.isUninstalling.set(true);
        makeUninstaller(ApplicationBundle::locate(program, std::nullopt, paths));
    }
    void makeUninstaller(ApplicationBundle bundle, platform::Trash* trashUsed = nullptr) {
        uninstaller.emplace(UninstallService::Collaborators{
            loop, loop.clock(), paths, appState.isGrayscaleFilterEnabled, services, crashRecovery,
            rulesFile, defaults, trashUsed ? *trashUsed : trash, std::move(bundle),
            [this] { ++terminations; }});
    }
    void runToTheEnd() {
        uninstaller->uninstall();
        loop.advanceSeconds(10 * UninstallService::kPauseSeconds);
        loop.runPending();
    }
};

TEST(UninstallService, RunsEveryStepInOrderAndLeavesNothingOfTheSystemOnDisk) {
    InstalledSystem s;
    Entries labels{s.uninstaller->currentStepLabel()};
    auto labelWatch = s.uninstaller->currentStepLabel.observe(
        [&](const std::string& label) { labels.push_back(label); });
    std::optional<Json> rulesSeenByBrowsers;
    s.services.during = [&](const std::string& call) {
        if (call == "uninstallNativeHostManifests") {
            rulesSeenByBrowsers = json::parseObject(
                platform::readWholeFile(s.paths.sharedContainer() / "rules.json").value_or(""));
        }
    };
    test::TimelineLog log(s.timeline, {"App"}, LogLevel::Info);

    s.uninstaller->uninstall();
    EXPECT_TRUE(s.uninstaller->isRunning());
    // The first step runs at once, each other after a pause of its own.
    EXPECT_EQ(labels, Entries{"Retrait du filtre"});
    s.loop.advanceSeconds(UninstallService::kPauseSeconds * 0.99);
    EXPECT_EQ(labels.size(), 1u);
    s.loop.advanceSeconds(UninstallService::kPauseSeconds * 0.02);
    EXPECT_EQ(labels.size(), 2u);
    s.loop.advanceSeconds(9 * UninstallService::kPauseSeconds);
    s.loop.runPending();
    EXPECT_EQ(s.terminations, 1);
    EXPECT_GE(platform::toSeconds(s.loop.elapsed()), 10 * UninstallService::kPauseSeconds);

    const auto home = s.home.root().string();
    const auto step = [](int n, const char* name) {
        return Entries{"App: Désinstallation — début étape " + std::to_string(n) + "/11: " + name,
                       "App: Désinstallation — fin étape " + std::to_string(n) + ": " + name};
    };
    Entries expected{"App: === Désinstallation Olvane démarrée ==="};
    const auto add = [&](const Entries& begin, const Entries& work) {
        expected.push_back(begin[0]);
        expected.insert(expected.end(), work.begin(), work.end());
        expected.push_back(begin[1]);
    };
    add(step(1, "neutralizeEffects"), {"forceDisableGrayscale", "forceCleanupFrictionEffects"});
    add(step(2, "stopWatchers"),
        {"stopAppMonitoring", "stopWindowMonitoring", "stopHotkeyMonitoring", "stopExtensionStatus",
         "stopGrayscaleCommandWatchers"});
    add(step(3, "pushNeutralRules"),
        {"App: Ruleset neutre écrit dans " + home + "/.local/share/OlvaneMac/rules.json"});
    add(step(4, "sendOffCommands"), {});
    add(step(5, "removeNativeManifests"), {"uninstallNativeHostManifests"});
    add(step(6, "disableLoginItem"), {"disableLoginItem"});
    add(step(7, "unregisterWatchdog"), {"unregisterWatchdogAgent"});
    add(step(8, "clearWatchdogPID"), {"clearWatchdogPID"});
    add(step(9, "deleteDataDirectories"),
        {"App: Dossier supprimé: " + home + "/.local/share/OlvaneMac",
         "App: Dossier supprimé: " + home + "/.cache/OlvaneMac",
         "App: Dossier supprimé: " + home + "/.local/share/group.so.olvane.shared",
         "App: Dossier supprimé: " + home + "/runtime/OlvaneMac"});
    add(step(10, "clearUserDefaults"), {});
    add(step(11, "recycleAndTerminate"),
        {"App: === Désinstallation : envoi du bundle à la Corbeille ===",
         "App: Bundle envoyé à la Corbeille: 2 élément(s)"});
    EXPECT_EQ(s.timeline.entries, expected);
    EXPECT_EQ(
        labels,
        (Entries{"Retrait du filtre", "Arrêt du suivi d'activité", "Mise à jour des extensions",
                 "Envoi des commandes", "Retrait des connexions navigateurs",
                 "Désactivation du démarrage automatique",
                 "Désenregistrement du service en arrière-plan", "Nettoyage du fichier PID",
                 "Suppression des dossiers", "Effacement des réglages", "Envoi à la Corbeille"}));
    ASSERT_TRUE(rulesSeenByBrowsers);
    EXPECT_EQ(*rulesSeenByBrowsers, UninstallService::neutralRules());

    // Only the trash holds anything of ours now.
    for (const auto& gone : {s.paths.dataFolder(), s.paths.cachesFolder(),
                             s.paths.sharedContainer(), s.paths.defaultsFile().parent_path()}) {
        EXPECT_FALSE(fs::exists(gone)) << gone;
    }
    EXPECT_EQ(filesUnder(s.home.root()),
              (Entries{".local/share/Trash/files/OlvaneMac/OlvaneMac",
                       ".local/share/Trash/files/OlvaneMac/OlvaneWatchdog",
                       ".local/share/Trash/files/so.olvane.mac.desktop",
                       ".local/share/Trash/info/OlvaneMac.trashinfo",
                       ".local/share/Trash/info/so.olvane.mac.desktop.trashinfo"}));
    // A new settings store finds nothing: no settings, no crash record.
    platform::os::FileKeyValueStore reopened(s.paths.defaultsFile(), s.loop.clock());
    EXPECT_FALSE(reopened.openReport().fileExisted);
    EXPECT_FALSE(SettingsManager(reopened, s.loop.clock()).lastKnownState());
}

// The user's desktop settings wait for a file another program holds: the agent and the data
// folder, which give them back should this run end first, stay until this run gave them back.
TEST(UninstallService, TheWatchdogStaysWhileTheDesktopsSettingsWaitForTheirFile) {
    InstalledSystem s;
    s.services.desktopGivesValuesBackLater = true;
    ScopedLogCapture capture;
    s.runToTheEnd();
    s.loop.advanceSeconds(60);
    const auto called = [&](const char* call) {
        return std::count(s.timeline.entries.begin(), s.timeline.entries.end(), call);
    };
    EXPECT_EQ(called("disableLoginItem"), 1);
    EXPECT_EQ(called("unregisterWatchdogAgent"), 0);
    EXPECT_TRUE(fs::exists(s.paths.dataFolder()));
    EXPECT_EQ(s.terminations, 0);
    EXPECT_EQ(capture->count("Désinstallation en attente : réglages du bureau de l’utilisateur "
                             "pas encore remis, leur fichier tenu par un autre programme"),
              1u);

    s.services.desktopGivesValuesBackLater = false;
    s.loop.advanceSeconds(UninstallService::kDesktopValuesCheckSeconds +
                          5 * UninstallService::kPauseSeconds);
    s.loop.runPending();
    EXPECT_EQ(called("unregisterWatchdogAgent"), 1);
    EXPECT_FALSE(fs::exists(s.paths.dataFolder()));
    EXPECT_EQ(s.terminations, 1);
}

TEST(UninstallService, TheNeutralRulesAndTheOffCommandsAreAsTheBrowserSideExpects) {
    InstalledSystem s;
    EXPECT_EQ(UninstallService::neutralRules(), json::parse(R"({
        "instagram": {"insta_feed": false, "insta_explore": false, "insta_reels": false},
        "youtube": {"yt_home": false, "yt_shorts": false, "yt_recommendations": false,
                    "yt_endscreen": false, "yt_comments": false},
        "facebook": {"fb_feed": false},
        "linkedin": {"linkedin_feed": false, "linkedin_limit": false, "linkedin_news": false},
        "_grayscale": {"allowedApps": [], "allowedSites": []},
        "_redList": {"sites": []}
    })"));
    std::optional<std::string> grayscale;
    std::optional<std::string> fullscreen;
    s.services.during = [&](const std::string& call) {
        if (call == "uninstallNativeHostManifests") {
            grayscale =
                platform::readWholeFile(s.paths.sharedContainer() / "grayscale-command.json");
            fullscreen =
                platform::readWholeFile(s.paths.sharedContainer() / "fullscreen-command.json");
        }
    };
    // Written in the fourth step, after three pauses.
    const double now = s.loop.clock().unixNow() + 3 * UninstallService::kPauseSeconds;
    s.runToTheEnd();
    ASSERT_TRUE(grayscale && fullscreen);
    const auto grayscaleCommand = json::parseObject(*grayscale).value_or(Json());
    const auto fullscreenCommand = json::parseObject(*fullscreen).value_or(Json());
    EXPECT_EQ(grayscaleCommand.value("action", ""), "enable");
    EXPECT_EQ(fullscreenCommand.value("action", ""), "fullscreen_end");
    EXPECT_EQ(grayscaleCommand.size(), 2u);
    EXPECT_EQ(fullscreenCommand.size(), 2u);
    EXPECT_NEAR(grayscaleCommand.value("timestamp", 0.0), now, 1e-6);
    EXPECT_EQ(grayscaleCommand.value("timestamp", 0.0), fullscreenCommand.value("timestamp", 1.0));
    EXPECT_EQ(grayscale->find('\n'), std::string::npos);
}

TEST(UninstallService, NoFailureStopsTheSequenceAndTheProgramAlwaysEnds) {
    InstalledSystem s;
    s.appState.isGrayscaleFilterEnabled.set(false);
    fs::remove_all(s.paths.cachesFolder());
    // The program went missing: the trash refuses it.
    fs::remove_all(s.program.parent_path());
    ScopedLogCapture capture;
    s.uninstaller->uninstall();
    s.uninstaller->uninstall();
    EXPECT_EQ(capture->count("Désinstallation déjà en cours — appel ignoré"), 1u);
    EXPECT_EQ(capture->count("=== Désinstallation Olvane démarrée ==="), 1u);
    s.loop.advanceSeconds(10 * UninstallService::kPauseSeconds);
    s.loop.runPending();

    // With the filter off, only the friction effects are torn down.
    EXPECT_EQ(
        std::count(s.timeline.entries.begin(), s.timeline.entries.end(), "forceDisableGrayscale"),
        0);
    EXPECT_TRUE(capture->contains(
        "App", LogLevel::Debug,
        "Dossier non supprimé (probablement absent): " + s.paths.cachesFolder().string()));
    EXPECT_FALSE(fs::exists(s.paths.sharedContainer()));
    bool recycleFailed = false;
    for (const auto& line : capture->lines()) {
        recycleFailed |= line.level == LogLevel::Error &&
                         line.text.starts_with("recycle() a échoué: ") &&
                         line.text.ends_with(" — terminate quand même");
    }
    EXPECT_TRUE(recycleFailed);
    EXPECT_EQ(s.terminations, 1);
    EXPECT_EQ(capture->count("Désinstallation — fin étape 11: recycleAndTerminate"), 1u);
}

TEST(UninstallService, FromABuildTreeNothingIsTrashed) {
    InstalledSystem s;
    const auto tree = s.home.root() / "build";
    put(tree / "CMakeCache.txt", "");
    put(tree / "src" / "ui" / "shell" / "OlvaneMac", "programme");
    s.makeUninstaller(ApplicationBundle::locate(tree / "src" / "ui" / "shell" / "OlvaneMac",
                                                std::nullopt, s.paths));
    ScopedLogCapture capture;
    s.runToTheEnd();
    EXPECT_TRUE(capture->contains("Lancé depuis l'arbre de compilation " + tree.string() +
                                  " : rien n'est envoyé à la Corbeille"));
    EXPECT_TRUE(fs::exists(tree / "src" / "ui" / "shell" / "OlvaneMac"));
    EXPECT_FALSE(fs::exists(s.paths.trashFolder()));
    EXPECT_EQ(s.terminations, 1);
}

// OlvaneMac as `cmake --install` lays it out under `prefix`; the program's path.
fs::path installUnder(const fs::path& prefix) {
    const auto program = prefix / "lib" / "OlvaneMac" / "OlvaneMac";
    put(program, "programme");
    put(prefix / "share" / "applications" / "so.olvane.mac.desktop", "[Desktop Entry]\n");
    put(prefix / "share" / "icons" / "hicolor" / "48x48" / "apps" / "so.olvane.mac.png", "png");
    return program;
}

TEST(UninstallService, AnInstallUnderAPrefixGoesWithItsDesktopEntryAndItsIcons) {
    InstalledSystem s;
    const auto prefix = s.home.root() / "prefixe";
    s.makeUninstaller(ApplicationBundle::locate(installUnder(prefix), std::nullopt, s.paths));
    s.runToTheEnd();
    EXPECT_EQ(filesUnder(prefix), Entries{});
    const auto trashed = filesUnder(s.paths.trashFolder() / "files");
    EXPECT_EQ(trashed,
              (Entries{"OlvaneMac/OlvaneMac", "so.olvane.mac.desktop", "so.olvane.mac.desktop.2"}));
    EXPECT_EQ(s.terminations, 1);
}

// The trash of a user who may not take away what was installed under `installedForAll`.
class TrashBesideAnInstallForAll final : public platform::Trash {
  public:
    TrashBesideAnInstallForAll(platform::Trash& trash, fs::path installedForAll)
        : trash_(trash), installedForAll_(std::move(installedForAll)) {}
    Outcome recycle(const std::vector<fs::path>& items) override { return trash_.recycle(items); }
    bool mayRecycle(const fs::path& item) const override {
        return !platform::liesInside(item, installedForAll_) && trash_.mayRecycle(item);
    }

  private:
    platform::Trash& trash_;
    fs::path installedForAll_;
};

TEST(UninstallService, AnInstallForEveryUserStaysInPlaceAndTheProgressScreenSaysSo) {
    InstalledSystem s;
    const auto prefix = s.home.root() / "usr-local";
    const auto program = installUnder(prefix);
    TrashBesideAnInstallForAll trash(s.trash, prefix);
    s.makeUninstaller(ApplicationBundle::locate(program, std::nullopt, s.paths), &trash);
    ScopedLogCapture capture;
    s.runToTheEnd();

    const auto folder = program.parent_path().string();
    EXPECT_EQ(s.uninstaller->currentStepLabel(),
              "OlvaneMac reste dans " + folder + " : seul un administrateur peut l’en retirer");
    EXPECT_TRUE(capture->contains("App", LogLevel::Error,
                                  "Installation protégée laissée en place: " + folder +
                                      " (3 élément(s)) — seul un administrateur peut la retirer"));
    EXPECT_EQ(filesUnder(prefix).size(), 3u);
    // Everything else goes as for any install.
    EXPECT_FALSE(fs::exists(s.paths.dataFolder()));
    EXPECT_EQ(filesUnder(s.paths.trashFolder() / "files"), Entries{"so.olvane.mac.desktop"});
    // The screen stays long enough to be read.
    EXPECT_EQ(s.terminations, 0);
    s.loop.advanceSeconds(UninstallService::kKeptInPlaceNoticeSeconds);
    s.loop.runPending();
    EXPECT_EQ(s.terminations, 1);
}

TEST(UninstallService, StepsAreKnownByTheirRawValues) {
    EXPECT_EQ(uninstallStepFromRaw(5), UninstallStep::disableLoginItem);
    EXPECT_FALSE(uninstallStepFromRaw(11));
    EXPECT_FALSE(uninstallStepFromRaw(-1));
    EXPECT_EQ(uninstallStepLabel(10), "Envoi à la Corbeille");
    EXPECT_EQ(uninstallStepLabel(11), "");
}

}  // namespace
}  // namespace olvane

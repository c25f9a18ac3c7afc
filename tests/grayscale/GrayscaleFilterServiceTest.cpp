#include <gtest/gtest.h>

#include "app/AppState.h"
#include "friction/WindowMonitorService.h"
#include "grayscale/AccessibilityBridge.h"
#include "grayscale/FramebufferCrashGuard.h"
#include "grayscale/FramebufferService.h"
#include "grayscale/GrayscaleFilterService.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "model/exchange/RulesFileFormat.h"
#include "platform/FileIO.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "platform/sim/ScriptedSystemEvents.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimGrayscaleSwitch.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"
#include "support/ScriptedColorRemapDevice.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::LogLevel;
using platform::SystemEvent;

constexpr const char* kDisplay = "builtin-0";
constexpr const char* kTerminal = "org.gnome.Terminal";
constexpr const char* kGimp = "org.gimp.GIMP";  // allowed in every test
constexpr const char* kFirefox = "org.mozilla.firefox";
constexpr auto kData = CommandOrigin::DataFolder;
constexpr auto kGroup = CommandOrigin::SharedContainer;

class GrayscaleFilterServiceTest : public ::testing::Test {
  protected:
    GrayscaleFilterServiceTest() {
        device_.services = {{{kDisplay, platform::ExternalProperty::False}}};
        settings_.settings().grayscaleAllowedApps = {kGimp};
        settings_.settings().grayscalePauseOnFullscreenVideo = true;
    }
    ~GrayscaleFilterServiceTest() override { signalGrayscaleActive.store(false); }

    // Made on first use, as in the application; the display back-end is probed first.
    GrayscaleFilterService& service() {
        if (!service_) {
            framebuffer_.probe();
            log_->clear();
            service_.emplace(GrayscaleFilterService::Collaborators{
                loop_, loop_.clock(), files_, paths_, settings_,
                GrayscaleAppState{state_.isGrayscaleFilterEnabled, state_.isPaused,
                                  state_.pauseRemainingSeconds, state_.currentAppBundleID},
                rules_, framebuffer_, accessibility_, monitor_, workspace_, events_});
        }
        return *service_;
    }
    GrayscaleFilterService& enabledWith(const char* front) {
        show(front);
        service().enable();
        return *service_;
    }

    void show(const std::string& bundleID) {
        const auto& running = workspace_.running();
        const auto it = std::find_if(running.begin(), running.end(),
                                     [&](const auto& a) { return a.bundleIdentifier == bundleID; });
        pid_t pid = it != running.end() ? it->processIdentifier : nextPid_++;
        if (it == running.end()) {
            workspace_.launch({bundleID, bundleID.substr(bundleID.rfind('.') + 1), pid, {}});
        }
        workspace_.activate(pid);
    }

    bool grey() {
        return framebuffer_.isAvailable() ? device_.modes[kDisplay] == 2
                                          : switch_.enabled().value_or(false);
    }
    std::size_t writes() const { return device_.writes.size(); }

    void send(const char* action, CommandOrigin origin, std::optional<Json> domain = "site.org") {
        const bool fullscreen = std::string_view(action).starts_with("fullscreen");
        Json command = {{"action", action}, {"timestamp", loop_.clock().unixNow() - 1.9}};
        if (domain) {
            command["domain"] = *domain;
        }
        const auto folder = origin == kData ? paths_.dataFolder() : paths_.sharedContainer();
        const auto file = folder / (fullscreen ? exchange::kFullscreenCommandFile
                                               : exchange::kGrayscaleCommandFile);
        ASSERT_TRUE(exchange::writeExchangeFile(file, command));
        files_.fire(file, platform::FileEvent::Write);
    }

    std::optional<bool> lastKnownGrayscale() const {
        const auto stored = store_.get(SettingsManager::kLastKnownStateKey);
        const auto object = json::parseObject(stored.bytes);
        return object ? json::boolMember(*object, "wasGrayscaleEnabled") : std::nullopt;
    }
    bool logged(const std::string& text) { return log_->count(text) > 0; }
    std::size_t count(const std::string& text) { return log_->count(text); }

    test::TempHome home_;
    platform::Paths paths_ = home_.paths();
    platform::sim::ScopedLogCapture log_;
    platform::sim::ManualRunLoop loop_;
    platform::sim::SimFileWatcher files_;
    platform::sim::MemoryKeyValueStore store_;
    SettingsManager settings_{store_, loop_.clock()};
    AppState state_;
    RulesFileService rules_{paths_};
    test::ScriptedColorRemapDevice device_;
    FramebufferService framebuffer_{device_};
    platform::sim::SimGrayscaleSwitch switch_;
    platform::sim::SimAccessibilityTrust trust_;
    AccessibilityBridge accessibility_{switch_, trust_};
    platform::sim::SimWorkspace workspace_;
    platform::sim::SimWindowServer windowServer_;
    WindowMonitorService monitor_{
        workspace_, windowServer_, {state_.currentAppBundleID, state_.currentAppName}};
    platform::sim::ScriptedSystemEvents events_;
    pid_t nextPid_ = 100;
    std::optional<GrayscaleFilterService> service_;
};

TEST_F(GrayscaleFilterServiceTest, CreationStartsEverythingInOrderAndDestructionStopsIt) {
    settings_.settings().grayscaleAllowedSites = {"wikipedia.org"};
    service();
    const auto texts = log_->texts("GrayscaleFilter");
    EXPECT_EQ(texts,
              (std::vector<std::string>{"Surveillance du fichier de commandes démarrée",
                                        "Surveillance du fichier de commandes fullscreen démarrée",
                                        "Surveillance Group Container grayscale-command démarrée",
                                        "Surveillance Group Container fullscreen-command démarrée",
                                        "Watchdog sleep/wake configuré",
                                        "Observers Fast User Switching configurés"}));
    EXPECT_TRUE(log_->contains("Callback ajouté: GrayscaleFilterService"));
    EXPECT_EQ(exchange::allowedSites(rules_.readRules()),
              std::vector<std::string>{"wikipedia.org"});
    EXPECT_EQ(events_.observerCount(SystemEvent::SessionDidResignActive), 1u);
    EXPECT_EQ(files_.watchCount(), 4u);

    service_.reset();
    EXPECT_EQ(files_.watchCount(), 0u);
    EXPECT_EQ(events_.observerCount(SystemEvent::DidWake), 0u);
    EXPECT_EQ(events_.displayObserverCount(), 0u);
    show(kTerminal);  // reaches no destroyed service
    events_.send(SystemEvent::SessionDidResignActive);
}

TEST_F(GrayscaleFilterServiceTest, TheSwitchSavesTheIntentionAndSparesAnAllowedFrontApplication) {
    enabledWith(kTerminal);
    EXPECT_TRUE(grey());
    EXPECT_TRUE(settings_.settings().userWantsGrayscaleEnabled);
    EXPECT_TRUE(state_.isGrayscaleFilterEnabled());
    EXPECT_EQ(lastKnownGrayscale(), true);
    EXPECT_TRUE(logged("👆 Activation du filtre N&B"));

    service().disable();
    EXPECT_FALSE(grey());
    EXPECT_FALSE(settings_.settings().userWantsGrayscaleEnabled);
    EXPECT_FALSE(state_.isGrayscaleFilterEnabled());
    EXPECT_EQ(lastKnownGrayscale(), false);
    EXPECT_TRUE(logged("👆 Désactivation du filtre N&B"));

    // With an allowed application in front the back-end is not called at all.
    show(kGimp);
    const auto before = writes();
    service().enable();
    EXPECT_EQ(writes(), before);
    EXPECT_TRUE(service().isTemporarilyDisabled());
    EXPECT_TRUE(state_.isGrayscaleFilterEnabled());
    show(kTerminal);
    EXPECT_TRUE(grey());
    EXPECT_FALSE(service().isTemporarilyDisabled());
}

// A run killed together with its watchdog left our grey on the display, and the desktop's
// values waiting; an allowed application in front at the next start holds the filter off, which
// must keep neither.
TEST_F(GrayscaleFilterServiceTest, AnAllowedFrontApplicationAtStartClearsTheGreyLeftBehind) {
    device_.modes[kDisplay] = 2;
    switch_.setKeepsUserValues(true);
    auto& s = enabledWith(kGimp);
    EXPECT_FALSE(grey());
    EXPECT_EQ(switch_.enabled(), false);
    EXPECT_TRUE(s.isTemporarilyDisabled());
    EXPECT_TRUE(
        logged("DCP : N&B laissé par une exécution précédente, 1 écran(s) remis en couleur"));
    EXPECT_TRUE(logged(
        "N&B du bureau laissé par une exécution précédente : réglages de l’utilisateur remis"));
    show(kTerminal);
    EXPECT_TRUE(grey());
}

TEST_F(GrayscaleFilterServiceTest, EnableLiftsBrowserSuspensionsButNeverGreysAnInactiveSession) {
    auto& s = enabledWith(kTerminal);
    send("disable", kData);
    send("fullscreen_start", kData);
    EXPECT_FALSE(grey());
    s.enable();
    EXPECT_FALSE(s.isDisabledForAllowedSite() || s.isDisabledForFullscreenVideo());
    EXPECT_TRUE(grey());

    events_.send(SystemEvent::SessionDidResignActive);
    s.disable();
    s.enable();
    EXPECT_TRUE(s.sessionSuspendedGrayscale());
    EXPECT_FALSE(grey());
    events_.send(SystemEvent::SessionDidBecomeActive);
    EXPECT_TRUE(grey());
}

TEST_F(GrayscaleFilterServiceTest, ForceDisableUsesBothBackEndsAndKeepsTheIntention) {
    auto& s = enabledWith(kTerminal);
    send("disable", kGroup);
    events_.send(SystemEvent::SessionDidResignActive);
    s.pause(300);
    const auto storeWrites = store_.writeCount();

    s.forceDisable();
    EXPECT_FALSE(grey());
    EXPECT_EQ(switch_.enabled(), false);
    EXPECT_TRUE(logged("Force désactivation du filtre N&B"));
    EXPECT_FALSE(state_.isGrayscaleFilterEnabled() || state_.isPaused());
    EXPECT_EQ(state_.pauseRemainingSeconds(), std::nullopt);
    EXPECT_FALSE(s.isPauseTimerRunning() || s.sessionSuspendedGrayscale() ||
                 s.isDisabledForAllowedSite() || s.isTemporarilyDisabled());
    EXPECT_TRUE(settings_.settings().userWantsGrayscaleEnabled);
    EXPECT_EQ(store_.writeCount(), storeWrites);  // neither settings nor LastKnownState
}

TEST_F(GrayscaleFilterServiceTest, AllowedApplicationsChangeTheDisplayAtOnce) {
    auto& s = enabledWith(kTerminal);
    auto storeWrites = store_.writeCount();
    s.addAllowedApp(kTerminal);
    EXPECT_FALSE(grey());
    EXPECT_TRUE(s.isTemporarilyDisabled());
    EXPECT_TRUE(logged("👆 App ajoutée aux autorisées: org.gnome.Terminal"));
    s.addAllowedApp(kTerminal);
    EXPECT_EQ(count("👆 App ajoutée aux autorisées: org.gnome.Terminal"), 1u);
    EXPECT_EQ(settings_.settings().grayscaleAllowedApps,
              (std::vector<std::string>{kGimp, kTerminal}));
    EXPECT_GE(store_.writeCount(), storeWrites + 2);  // saved also when nothing changed

    s.removeAllowedApp(kTerminal);
    EXPECT_TRUE(grey());
    s.removeAllowedApp("org.example.Absent");
    EXPECT_TRUE(logged("👆 App retirée des autorisées: org.example.Absent"));

    // Matching is exact.
    settings_.settings().grayscaleAllowedApps.push_back("org.gnome");
    s.checkAllowedApp();
    EXPECT_TRUE(grey());
}

TEST_F(GrayscaleFilterServiceTest, AllowedSitesAreNormalisedExportedAndNeverHostless) {
    auto& s = service();
    const auto writesBefore = writes();
    s.addAllowedSite("  https://www.Wikipedia.org/wiki/Paris ");
    s.addAllowedSite("wikipedia.org/wiki");
    EXPECT_EQ(settings_.settings().grayscaleAllowedSites,
              std::vector<std::string>{"wikipedia.org/wiki"});
    EXPECT_EQ(count("👆 Site ajouté aux autorisés: wikipedia.org/wiki"), 1u);
    EXPECT_EQ(exchange::allowedSites(rules_.readRules()),
              std::vector<std::string>{"wikipedia.org/wiki"});
    const auto shared = json::parseObject(*platform::readWholeFile(rules_.sharedRulesFile()));
    EXPECT_EQ(exchange::allowedSites(*shared), std::vector<std::string>{"wikipedia.org/wiki"});

    const auto rulesBefore = platform::modificationTimeNs(rules_.rulesFile());
    const auto storeWrites = store_.writeCount();
    for (const auto* hostless : {"   ", "", "https://", "=", "=https://", "www."}) {
        s.addAllowedSite(hostless);
    }
    EXPECT_EQ(settings_.settings().grayscaleAllowedSites.size(), 1u);
    EXPECT_EQ(store_.writeCount(), storeWrites);
    EXPECT_EQ(platform::modificationTimeNs(rules_.rulesFile()), rulesBefore);

    s.removeAllowedSite("wikipedia.org/wiki");
    EXPECT_TRUE(logged("👆 Site retiré des autorisés: wikipedia.org/wiki"));
    const auto section = rules_.readRules()[exchange::kGrayscaleSection];
    EXPECT_EQ(section, Json({{"allowedSites", Json::array()}}));
    EXPECT_EQ(writes(), writesBefore);  // sites never touch the display
}

TEST_F(GrayscaleFilterServiceTest, APauseCountsDownEverySecondAndRestoresOnTheLastTick) {
    auto& s = service();
    s.pause(3);
    EXPECT_TRUE(logged("Pause ignorée - filtre non actif"));
    EXPECT_FALSE(state_.isPaused());

    enabledWith(kTerminal);
    s.pause(300);
    loop_.advanceSeconds(2);
    EXPECT_EQ(state_.pauseRemainingSeconds(), 298);
    s.pause(3);  // replaced, not extended
    EXPECT_TRUE(logged("👆 Pause de 3 secondes"));
    EXPECT_EQ(state_.pauseRemainingSeconds(), 3);
    EXPECT_FALSE(grey());
    loop_.advanceSeconds(1);
    EXPECT_EQ(state_.pauseRemainingSeconds(), 2);
    loop_.advanceSeconds(1);
    EXPECT_EQ(state_.pauseRemainingSeconds(), 1);
    EXPECT_FALSE(logged("Fin de la pause"));
    loop_.advanceSeconds(1);
    EXPECT_TRUE(logged("Fin de la pause"));
    EXPECT_TRUE(logged("Réactivation du filtre après fin de pause"));
    EXPECT_TRUE(grey());
    EXPECT_FALSE(state_.isPaused() || s.isPauseTimerRunning());
    EXPECT_EQ(state_.pauseRemainingSeconds(), std::nullopt);

    s.pause(300);
    s.resumeFromPause();
    EXPECT_TRUE(logged("👆 Reprise après pause"));
    EXPECT_EQ(count("Réactivation du filtre après fin de pause"), 1u);
    EXPECT_TRUE(grey());

    s.pause(300);
    s.disable();
    EXPECT_FALSE(state_.isPaused() || s.isPauseTimerRunning());
    EXPECT_EQ(state_.pauseRemainingSeconds(), std::nullopt);
    EXPECT_FALSE(grey());
}

TEST_F(GrayscaleFilterServiceTest, AppChangesDuringAPauseAreSettledAtItsEnd) {
    // Allowed application brought to the front during the pause: colour at the end.
    auto& s = enabledWith(kTerminal);
    s.pause(3);
    show(kGimp);
    EXPECT_TRUE(logged("Application ignorée - en pause"));
    loop_.advanceSeconds(3);
    EXPECT_FALSE(grey());
    EXPECT_TRUE(s.isTemporarilyDisabled());
    EXPECT_TRUE(logged("Désactivation temporaire pour app autorisée"));

    // The other way round: the allowed application's suspension ends with the pause, so the
    // next allowed application gets its colour again.
    s.pause(3);
    show(kTerminal);
    loop_.advanceSeconds(3);
    EXPECT_TRUE(grey());
    EXPECT_FALSE(s.isTemporarilyDisabled());
    show(kGimp);
    EXPECT_FALSE(grey());
}

TEST_F(GrayscaleFilterServiceTest, EnableDuringAPauseLeavesTheDisplayToTheEndOfThePause) {
    auto& s = enabledWith(kTerminal);
    s.pause(3);
    loop_.advanceSeconds(1);
    const auto before = writes();
    s.enable();
    EXPECT_EQ(writes(), before);
    EXPECT_TRUE(state_.isPaused());
    loop_.advanceSeconds(1);
    EXPECT_EQ(state_.pauseRemainingSeconds(), 1);
    loop_.advanceSeconds(1);
    EXPECT_TRUE(grey());
}

TEST_F(GrayscaleFilterServiceTest, SiteCommandsSuspendOnceAndRestoreOnlyWhenNothingElseHolds) {
    auto& s = enabledWith(kTerminal);
    send("disable", kData, "wikipedia.org");
    EXPECT_FALSE(grey());
    EXPECT_TRUE(logged("Désactivation temporaire pour site autorisé: wikipedia.org"));
    const auto before = writes();
    send("disable", kData);
    send("disable", kGroup);  // the same command through the container
    EXPECT_EQ(writes(), before);
    EXPECT_EQ(count("Désactivation temporaire pour site autorisé: wikipedia.org"), 1u);

    send("enable", kGroup);
    EXPECT_TRUE(logged("Safari: réactivation après site autorisé"));
    EXPECT_TRUE(grey());
    send("enable", kData);  // nothing to lift
    EXPECT_FALSE(logged("Réactivation après site autorisé"));

    send("disable", kGroup, std::nullopt);
    EXPECT_TRUE(logged("Safari: désactivation temporaire pour site autorisé: ?"));
    send("enable", kData);
    send("disable", kData, 42);
    EXPECT_TRUE(logged("Désactivation temporaire pour site autorisé: ?"));

    // Lifted while an allowed application is in front: the flag goes, the colour stays.
    s.addAllowedApp(kTerminal);
    send("enable", kData);
    EXPECT_FALSE(s.isDisabledForAllowedSite());
    EXPECT_FALSE(grey());
    s.removeAllowedApp(kTerminal);
    EXPECT_TRUE(grey());

    // While paused a site is ignored, and so is its later "enable".
    s.pause(300);
    send("disable", kData);
    EXPECT_FALSE(s.isDisabledForAllowedSite());
    s.resumeFromPause();
    send("enable", kData);
    EXPECT_TRUE(grey());

    // A stale command is not applied.
    const auto file = paths_.dataFolder() / exchange::kGrayscaleCommandFile;
    ASSERT_TRUE(exchange::writeExchangeFile(
        file, {{"action", "disable"}, {"timestamp", loop_.clock().unixNow() - 2.0}}));
    files_.fire(file, platform::FileEvent::Write);
    EXPECT_TRUE(grey());
}

TEST_F(GrayscaleFilterServiceTest, FullscreenCommandsFollowTheSettingOnlyOnTheWayIn) {
    auto& s = enabledWith(kTerminal);
    settings_.settings().grayscalePauseOnFullscreenVideo = false;
    send("fullscreen_start", kData);
    EXPECT_TRUE(grey());
    settings_.settings().grayscalePauseOnFullscreenVideo = true;
    send("fullscreen_start", kGroup);
    EXPECT_TRUE(logged("Safari: désactivation pour vidéo plein écran"));
    EXPECT_FALSE(grey());

    // A site lifted during the video leaves the colour to the video.
    send("disable", kData);
    send("enable", kData);
    EXPECT_FALSE(grey());
    settings_.settings().grayscalePauseOnFullscreenVideo = false;
    send("fullscreen_end", kData);
    EXPECT_TRUE(logged("Réactivation après vidéo plein écran"));
    EXPECT_TRUE(grey());
    EXPECT_FALSE(s.isDisabledForFullscreenVideo());
}

TEST_F(GrayscaleFilterServiceTest, AnInactiveSessionIsNeverGreyedWhateverEndsMeanwhile) {
    auto& s = enabledWith(kTerminal);
    events_.send(SystemEvent::SessionDidResignActive);
    EXPECT_TRUE(logged("Session resign — désactivation temporaire du filtre"));
    EXPECT_FALSE(grey());
    events_.send(SystemEvent::SessionDidBecomeActive);
    EXPECT_TRUE(logged("Session active — réactivation du filtre"));
    EXPECT_TRUE(grey());

    // Paused at the resign: suspended all the same, and the pause ends in colour.
    s.pause(3);
    events_.send(SystemEvent::SessionDidResignActive);
    EXPECT_TRUE(s.sessionSuspendedGrayscale());
    loop_.advanceSeconds(3);
    EXPECT_FALSE(state_.isPaused());
    EXPECT_FALSE(grey());
    EXPECT_FALSE(logged("Réactivation du filtre après fin de pause"));

    // Nothing that ends while the session is away turns grey on: commands, app changes, the
    // allowed-application check, wakes.
    send("disable", kData);
    send("enable", kData);
    send("fullscreen_start", kData);
    send("fullscreen_end", kGroup);
    show(kGimp);
    send("disable", kData);
    show(kTerminal);
    events_.send(SystemEvent::DidWake);
    loop_.advanceSeconds(6);
    s.resumeFromPause();
    EXPECT_FALSE(grey());
    EXPECT_EQ(s.wakeID(), 0);

    events_.send(SystemEvent::SessionDidBecomeActive);
    EXPECT_TRUE(grey());

    // A video suspension outlives the session's return; only the session flag goes.
    send("fullscreen_start", kData);
    events_.send(SystemEvent::SessionDidResignActive);
    events_.send(SystemEvent::SessionDidBecomeActive);
    EXPECT_FALSE(s.sessionSuspendedGrayscale());
    EXPECT_FALSE(grey());
    EXPECT_EQ(count("Session active — réactivation du filtre"), 2u);

    // With the filter off the session comes and goes unnoticed.
    s.disable();
    events_.send(SystemEvent::SessionDidResignActive);
    EXPECT_FALSE(s.sessionSuspendedGrayscale());
}

TEST_F(GrayscaleFilterServiceTest, WakeChecksReadTheModeBackAndReapplyOnlyWhenItWasLost) {
    auto& s = enabledWith(kTerminal);
    auto before = writes();
    events_.send(SystemEvent::DidWake);
    loop_.advanceSeconds(6);
    EXPECT_EQ(writes(), before);  // still grey: nothing written, nothing logged
    EXPECT_FALSE(logged("Wake watchdog : mode DCP réinitialisé (0), ré-application"));

    // The system dropped the mode behind our back.
    device_.modes[kDisplay] = 0;
    events_.send(SystemEvent::ScreenUnlocked);
    loop_.advanceSeconds(0.5);
    EXPECT_TRUE(logged("Wake watchdog : mode DCP réinitialisé (0), ré-application"));
    EXPECT_TRUE(grey());
    loop_.advanceSeconds(5);
    EXPECT_EQ(count("Wake watchdog : mode DCP réinitialisé (0), ré-application"), 1u);

    // A mode that cannot be read is re-applied at every check, without a message.
    device_.getStatus = platform::remap::kFailed;
    before = writes();
    events_.send(SystemEvent::ScreensDidWake);
    loop_.advanceSeconds(6);
    EXPECT_EQ(writes(), before + 4);
    EXPECT_EQ(s.wakeID(), 3);

    // No check while something holds the display in colour, and no wake while off or paused.
    send("disable", kData);
    before = writes();
    events_.send(SystemEvent::DidWake);
    loop_.advanceSeconds(6);
    EXPECT_EQ(writes(), before);
    s.pause(300);
    events_.send(SystemEvent::DidWake);
    s.disable();
    events_.send(SystemEvent::DidWake);
    EXPECT_EQ(s.wakeID(), 4);
}

TEST_F(GrayscaleFilterServiceTest, OnTheDesktopSwitchEveryWakeCheckSwitchesGreyOnAgain) {
    device_.loadResult = platform::RemapLoadResult::frameworkMissing("absent");
    enabledWith(kTerminal);
    EXPECT_TRUE(grey());
    const auto before = switch_.setCount();
    events_.send(SystemEvent::DidWake);
    loop_.advanceSeconds(6);
    EXPECT_EQ(switch_.setCount(), before + 4);
    EXPECT_TRUE(grey());
}

TEST_F(GrayscaleFilterServiceTest, TheDesktopSwitchedOffByTheUserStaysOffUntilSwitchedOnHere) {
    device_.loadResult = platform::RemapLoadResult::frameworkMissing("absent");
    auto& s = enabledWith(kTerminal);
    switch_.switchOffElsewhere();
    EXPECT_FALSE(state_.isGrayscaleFilterEnabled());
    EXPECT_TRUE(settings_.settings().userWantsGrayscaleEnabled);
    EXPECT_TRUE(logged(
        "Filtre N&B coupé depuis le bureau — réglages de l'utilisateur remis, filtre désactivé"));

    // Nothing of the filter's own turns it grey again behind the user's back.
    const auto sets = switch_.setCount();
    events_.send(SystemEvent::DidWake);
    loop_.advanceSeconds(6);
    show(kGimp);
    show(kTerminal);
    s.pause(3);
    loop_.advanceSeconds(4);
    EXPECT_EQ(switch_.setCount(), sets);
    s.enable();
    EXPECT_TRUE(grey());
}

TEST_F(GrayscaleFilterServiceTest, AppChangesLiftBrowserSuspensionsExceptAVideoWhileFirefoxRuns) {
    auto& s = enabledWith(kFirefox);
    send("fullscreen_start", kData);
    show(kTerminal);
    EXPECT_TRUE(s.isDisabledForFullscreenVideo());
    EXPECT_FALSE(grey());
    EXPECT_TRUE(logged("Changement d'app détecté: Terminal"));

    workspace_.terminate(workspace_.running().front().processIdentifier);
    send("disable", kData);
    show("org.gnome.Nautilus");
    EXPECT_TRUE(logged("Réinitialisation fullscreen : Firefox n'est plus actif"));
    EXPECT_TRUE(logged("Changement d'app : réactivation après site autorisé"));
    EXPECT_FALSE(s.isDisabledForFullscreenVideo() || s.isDisabledForAllowedSite());
    EXPECT_TRUE(grey());

    // While paused the flags go with their messages, but nothing is switched on.
    send("fullscreen_start", kData);
    s.pause(300);
    log_->clear();
    show(kTerminal);
    EXPECT_FALSE(s.isDisabledForFullscreenVideo());
    EXPECT_TRUE(logged("Application ignorée - en pause"));
    EXPECT_FALSE(grey());

    // With the filter off nothing at all happens.
    s.disable();
    log_->clear();
    show("org.gnome.Nautilus");
    EXPECT_TRUE(log_->texts("GrayscaleFilter").empty());
}

}  // namespace
}  // namespace olvane

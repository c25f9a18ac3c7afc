// The effect decision and its timers over scripted applications, windows and pointer, with the
// real effect services, the delay's waiting screen and the site watchers over a temporary home.
#include <gtest/gtest.h>

#include "friction/AppMonitoringService.h"
#include "friction/BrowserSiteWatchers.h"
#include "friction/DelayAccessOverlayWindow.h"
#include "friction/WebsiteTargets.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/FileIO.h"
#include "platform/LoopFrameClock.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimEventTap.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimKeyEventSource.h"
#include "platform/sim/SimOverlayWindows.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

using platform::Rect;
using platform::sim::ScopedLogCapture;

constexpr const char* kEditor = "org.gnome.TextEditor";
constexpr const char* kOther = "org.example.Other";
constexpr const char* kFirefox = "org.mozilla.firefox";
constexpr const char* kOwn = "so.olvane.mac";
constexpr pid_t kEditorPid = 100, kOtherPid = 300, kFirefoxPid = 200, kOwnPid = 400;
constexpr double kLaunch = 1'000'000.0;

RedListConfig target(FrictionTargetType type, const std::string& identifier, bool fog, bool turtle,
                     bool delay = false) {
    RedListConfig config;
    config.id = Uuid::random();
    config.targetType = type;
    config.targetIdentifier = identifier;
    config.targetDisplayName = "«" + identifier + "»";
    config.isFogEnabled = fog;
    config.isTurtleEnabled = turtle;
    config.isDelayEnabled = delay;
    config.delayDuration = DelayDuration::preset10s();
    return config;
}

RedListConfig app(const std::string& id, bool fog, bool turtle, bool delay = false) {
    return target(FrictionTargetType::app, id, fog, turtle, delay);
}

RedListConfig site(const std::string& entry, bool fog, bool turtle = false) {
    return target(FrictionTargetType::website, entry, fog, turtle);
}

platform::WindowInfo window(std::uint32_t number, pid_t pid, bool onScreen = true) {
    return {number, pid, Rect{0, 0, 800, 600}, platform::kNormalWindowLayer, onScreen};
}

class AppMonitoringServiceTest : public ::testing::Test {
  protected:
    AppMonitoringServiceTest() {
        EXPECT_TRUE(platform::ensurePrivateFolder(paths.dataFolder()));
        for (const auto& [id, pid] : {std::pair{kEditor, kEditorPid},
                                      {kOther, kOtherPid},
                                      {kFirefox, kFirefoxPid},
                                      {kOwn, kOwnPid}}) {
            workspace.launch({id, std::string(id), pid, kLaunch});
            windowServer.addWindow(window(static_cast<std::uint32_t>(pid), pid));
        }
        windowServer.setScreens({{"A", Rect{0, 0, 1440, 900}}});
        input.setDisplays({{0, 0, 1440, 900}});
    }

    std::vector<RedListConfig>& targets() { return settings.settings().redListConfigs; }
    void bring(pid_t pid) { workspace.activate(pid); }
    std::size_t openFogs() const { return fogWindows.open().size(); }
    // The browser side reports a site, and the watcher reads it after its quiet time.
    void visit(const std::string& domain, double timestamp) {
        auto* firefox = service.browserWatcher(kFirefox);
        ASSERT_TRUE(exchange::writeExchangeFile(firefox->file(),
                                                {{"domain", domain}, {"timestamp", timestamp}}));
        files.fire(firefox->file(), platform::FileEvent::Write);
        loop.advanceSeconds(BrowserSiteWatcher::kDebounceSeconds);
    }

    test::TempHome home;
    platform::Paths paths = home.paths();
    platform::sim::ManualRunLoop loop;
    platform::sim::SimFileWatcher files;
    platform::sim::SimWorkspace workspace;
    platform::sim::SimWindowServer windowServer;
    platform::Observable<std::optional<std::string>> frontID, frontName;
    WindowMonitorService monitor{workspace, windowServer, {frontID, frontName}};
    platform::sim::SimEventTap input;
    platform::sim::SimKeyEventSource keys;
    platform::sim::SimAccessibilityTrust trust{true};
    platform::Observable<ActiveEffects::Set> effects;
    TurtleEffectService turtle{{loop, input, keys, trust, {}, ActiveEffects(effects)}};
    platform::sim::SimOverlayWindows<FogEffectState> fogWindows;
    platform::LoopFrameClock frames{loop, FogEffectService::kMinFrameInterval};
    FrictionEffectsService friction{
        {monitor, turtle, ActiveEffects(effects), {fogWindows, frames, input, loop.clock()}}};
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings{store, loop.clock()};
    platform::NotificationCenter notifications;
    platform::sim::SimOverlayWindows<DelayPanelState> panels;
    DelayAccessService delay{
        settings, notifications,
        std::make_unique<DelayAccessOverlayWindow>(
            DelayAccessOverlayWindow::Collaborators{loop, workspace, windowServer, panels, kOwn})};
    AppMonitoringService service{{loop, settings, workspace, monitor, friction, turtle, delay,
                                  notifications,
                                  makeBrowserSiteWatchers({loop, files, workspace, notifications},
                                                          paths.dataFolder(), std::nullopt),
                                  kOwn}};
};

TEST_F(AppMonitoringServiceTest, TheOwnApplicationOnlySwitchesOffATurtleThatIsNotATest) {
    targets() = {app(kEditor, true, true)};
    targets()[0].turtleIntensity = TurtleIntensity::custom;
    service.startMonitoring();
    ScopedLogCapture capture;
    bring(kEditorPid);
    EXPECT_TRUE(capture->contains("👆 Tortue activé pour: org.gnome.TextEditor (Personnalisée)"));
    EXPECT_EQ(turtle.factors(), (TurtleFactors{4.0, 4.0}));
    EXPECT_EQ(openFogs(), 1u);

    bring(kOwnPid);
    EXPECT_FALSE(turtle.isActive());
    EXPECT_EQ(openFogs(), 1u);
    EXPECT_EQ(service.currentlyMonitoredBundleID(), kEditor);

    ASSERT_TRUE(turtle.activate(TurtleIntensity::light, true));
    service.applyEffectsForFrontmostApp(kOwn);
    EXPECT_TRUE(turtle.isActive());
}

// The polls retry a turtle that is off twice a second: only a turtle that came on is logged as
// on, and the first failure alone says why.
TEST_F(AppMonitoringServiceTest, ATurtleThatCannotStartIsRetriedQuietlyAndLoggedWhenItComesBack) {
    targets() = {app(kEditor, true, true), app(kOther, false, true)};
    trust.setTrusted(false);
    ScopedLogCapture capture;
    service.startMonitoring();
    bring(kOtherPid);
    loop.advanceSeconds(5);
    bring(kEditorPid);
    loop.advanceSeconds(5);
    EXPECT_FALSE(turtle.isActive());
    EXPECT_EQ(capture->count("Tortue: permissions Accessibilité manquantes - capture du pointeur "
                             "impossible"),
              1u);
    EXPECT_FALSE(capture->contains("👆 Tortue activé pour: org.example.Other (Moyenne)"));
    EXPECT_FALSE(capture->contains("👆 Tortue activé pour: org.gnome.TextEditor (Moyenne)"));
    EXPECT_FALSE(
        capture->contains("Tortue réactivée après coupure système pour: org.gnome.TextEditor"));

    trust.setTrusted(true);
    loop.advanceSeconds(AppMonitoringService::kFrontAppPollingInterval);
    EXPECT_TRUE(turtle.isActive());
    loop.advanceSeconds(5);
    EXPECT_EQ(capture->count("Tortue réactivée après coupure système pour: org.gnome.TextEditor"),
              1u);
}

TEST_F(AppMonitoringServiceTest, APendingDelayEndsTheDecisionAndContinuingBringsTheOtherEffects) {
    targets() = {app(kOther, false, true), app(kEditor, true, true, true)};
    service.startMonitoring();
    bring(kOtherPid);
    ASSERT_TRUE(turtle.isActive());

    bring(kEditorPid);
    ASSERT_EQ(panels.open().size(), 1u);
    EXPECT_EQ(openFogs(), 0u);
    EXPECT_TRUE(turtle.isActive()) << "left as the previous application had it";
    loop.advanceSeconds(2);
    EXPECT_EQ(panels.made().size(), 1u) << "decided again by the poll, not shown again";

    loop.advanceSeconds(8);
    auto* panel = panels.open().at(0).content;
    ASSERT_TRUE(panel->offersContinue());
    ScopedLogCapture capture;
    panel->pressContinue();
    EXPECT_TRUE(capture->contains(
        "Délai d'accès terminé pour org.gnome.TextEditor - activation des effets de friction"));
    EXPECT_TRUE(capture->contains("👆 Activation Buée après délai pour: «org.gnome.TextEditor»"));
    EXPECT_TRUE(panels.open().empty());
    EXPECT_EQ(openFogs(), 1u);
    EXPECT_EQ(service.currentlyMonitoredBundleID(), kEditor);

    // Once completed, the target is decided without its delay until it quits.
    loop.advanceSeconds(1);
    EXPECT_TRUE(panels.open().empty());
    workspace.terminate(kEditorPid);
    EXPECT_EQ(openFogs(), 0u);
    workspace.launch({kEditor, "Éditeur", 101, kLaunch});
    EXPECT_EQ(panels.open().size(), 1u) << "its next launch waits again";
}

// Each launch is a process of its own: the delay belongs to one instance.
TEST_F(AppMonitoringServiceTest, TheDelayEndsItsOwnInstanceAndSparesThoseLetThrough) {
    targets() = {app(kEditor, false, false, true)};
    service.startMonitoring();
    bring(kEditorPid);
    loop.advanceSeconds(10);
    panels.open().at(0).content->pressContinue();

    workspace.launch({kEditor, "Éditeur", 101, kLaunch + 1});
    bring(101);
    ASSERT_EQ(panels.open().size(), 1u);
    panels.open().at(0).content->pressClose();
    EXPECT_EQ(workspace.terminationRequests(), std::vector<pid_t>{101});
    workspace.terminate(101);
    bring(kEditorPid);
    EXPECT_TRUE(panels.open().empty()) << "the instance let through is not delayed again";

    // The end of the instance let through leaves the delay of a newer one.
    workspace.launch({kEditor, "Éditeur", 102, kLaunch + 2});
    workspace.terminate(kEditorPid);
    ASSERT_EQ(panels.open().size(), 1u);
    panels.open().at(0).content->pressClose();
    EXPECT_EQ(workspace.terminationRequests(), (std::vector<pid_t>{101, 102}));
}

TEST_F(AppMonitoringServiceTest, AFogAlreadyShownIsKeptAndReevaluatingRebuildsIt) {
    targets() = {app(kEditor, true, false)};
    service.reevaluateCurrentApp();
    EXPECT_EQ(fogWindows.made().size(), 0u) << "nothing while not monitoring";

    service.startMonitoring();
    ScopedLogCapture capture;
    bring(kEditorPid);
    bring(kOtherPid);
    bring(kEditorPid);
    loop.advanceSeconds(2);
    EXPECT_EQ(capture->count("👆 Activation de l'effet Buée pour: «org.gnome.TextEditor» (Moyenne)"),
              1u);
    EXPECT_EQ(fogWindows.made().size(), 1u);

    service.reevaluateCurrentApp();
    EXPECT_EQ(fogWindows.made().size(), 2u);
    EXPECT_EQ(openFogs(), 1u);

    targets()[0].isFogEnabled = false;
    service.reevaluateCurrentApp();
    EXPECT_EQ(openFogs(), 0u);
    EXPECT_FALSE(service.currentlyMonitoredBundleID());
}

TEST_F(AppMonitoringServiceTest, ABrowserFollowsItsSiteAndForgetsItWhenRelaunched) {
    targets() = {site("site.test", true, true)};
    service.recordRunningBrowsers();
    visit("www.site.test", kLaunch + 1);
    service.startMonitoring();
    bring(kFirefoxPid);
    EXPECT_EQ(openFogs(), 1u);
    EXPECT_TRUE(turtle.isActive());

    ScopedLogCapture capture;
    visit("other.test", kLaunch + 2);
    EXPECT_TRUE(capture->contains(
        "org.mozilla.firefox: site actuel non configuré pour Buée, désactivation"));
    EXPECT_EQ(openFogs(), 0u);
    EXPECT_FALSE(turtle.isActive());

    // Relaunched while nobody watched: the next decision notices the new process.
    service.stopMonitoring();
    workspace.terminate(kFirefoxPid);
    workspace.launch({kFirefox, "Firefox", 201, kLaunch + 10});
    service.recordRunningBrowsers();
    visit("site.test", kLaunch + 11);
    capture->clear();
    service.applyEffectsForFrontmostApp(kFirefox);
    EXPECT_FALSE(capture->contains("redémarré")) << "the start recorded the new process";
    ASSERT_TRUE(service.browserWatcher(kFirefox)->currentDomain());
    workspace.terminate(201);
    workspace.launch({kFirefox, "Firefox", 202, kLaunch + 20});
    service.applyEffectsForFrontmostApp(kFirefox);
    EXPECT_TRUE(capture->contains(
        "Navigateur org.mozilla.firefox redémarré (PID 201 → 202), watcher réinitialisé"));
    EXPECT_FALSE(service.browserWatcher(kFirefox)->currentDomain());
}

TEST_F(AppMonitoringServiceTest, ABrowserWithoutWindowForgetsItsSiteAndItsTurtle) {
    targets() = {site("site.test", false, true)};
    service.startMonitoring();
    bring(kFirefoxPid);
    visit("site.test", kLaunch + 1);
    ASSERT_TRUE(turtle.isActive());
    windowServer.removeWindow(kFirefoxPid);
    ScopedLogCapture capture;
    loop.advanceSeconds(AppMonitoringService::kFrontAppPollingInterval);
    EXPECT_TRUE(
        capture->contains("Tortue désactivée: navigateur org.mozilla.firefox sans fenêtre"));
    EXPECT_FALSE(service.browserWatcher(kFirefox)->currentDomain());
}

TEST(WebsiteTargets, SitesMatchByHostAndPathTheMostSpecificWins) {
    const std::vector<RedListConfig> targets = {
        site("site.test", true),
        site("site.test/videos", false, true),
        site("=exact.test", true),
        site("off.test", false),
        site("=", true),
        site("dup.test", true),
        site("dup.test", false, true),
        app("site.test", true, true),
    };
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"site.test", "site.test"},
        {"www.site.test", "site.test"},
        {"a.b.site.test", "site.test"},
        {"site.test/page", "site.test"},
        {"site.test/videos", "site.test/videos"},
        {"a.site.test/videos/123", "site.test/videos"},
        {"site.test/videoseries", "site.test"},
        {"wwwsite.test", std::nullopt},
        {"exact.test", "=exact.test"},
        {"sub.exact.test", "=exact.test"},
        {"exact.test/path", std::nullopt},
        {"off.test", std::nullopt},
        {"trailing.", std::nullopt},
        {"dup.test", "dup.test"},
    };
    for (const auto& [domain, expected] : cases) {
        const auto found = websiteTargetFor(domain, targets);
        EXPECT_EQ(found ? std::optional(found->targetIdentifier) : std::nullopt, expected)
            << domain;
    }
    EXPECT_TRUE(websiteTargetFor("dup.test", targets)->isFogEnabled) << "the first of equals";
}

TEST_F(AppMonitoringServiceTest, ALaunchedTargetIsDecidedOnceInFrontOrGivenUpAfter15Ticks) {
    targets() = {app("org.example.Late", true, false), app("org.example.Never", false, true)};
    service.startMonitoring();
    ScopedLogCapture capture;
    workspace.launch({"org.example.Late", "Late", 500, kLaunch});
    windowServer.addWindow(window(500, 500));
    loop.advanceSeconds(0.2 * 3);
    workspace.setFrontmost(500);
    loop.advanceSeconds(0.2);
    EXPECT_TRUE(
        capture->contains("App org.example.Late détectée au premier plan après 4 tentatives"));
    EXPECT_EQ(service.currentlyMonitoredBundleID(), "org.example.Late");

    workspace.launch({"org.example.Never", "Never", 600, kLaunch});
    loop.advanceSeconds(0.2 * 15);
    EXPECT_EQ(capture->count("Timeout: app org.example.Never n'est pas devenue active"), 1u);
    loop.advanceSeconds(1);
    EXPECT_EQ(capture->count("Timeout: app org.example.Never n'est pas devenue active"), 1u);
    EXPECT_FALSE(turtle.isActive());
}

TEST_F(AppMonitoringServiceTest, TheActivationRetryWaitsForWindowsAndStopsWhenTheTargetLeaves) {
    targets() = {app(kEditor, true, false)};
    windowServer.removeWindow(kEditorPid);
    service.startMonitoring();
    ScopedLogCapture capture;
    bring(kEditorPid);
    EXPECT_TRUE(
        capture->contains("Fenêtre pas encore prête pour org.gnome.TextEditor - retry "
                          "programmé"));
    loop.advanceSeconds(0.2);
    windowServer.addWindow(window(kEditorPid, kEditorPid));
    loop.advanceSeconds(0.1);
    EXPECT_TRUE(capture->contains("Fenêtre prête après 1 tentatives - activation"));
    EXPECT_EQ(openFogs(), 1u);

    // Without windows again, in front: the fog goes within a tenth of a second and returns
    // with them.
    windowServer.setWindows({window(kEditorPid, kEditorPid, false)});
    loop.advanceSeconds(0.1);
    EXPECT_TRUE(capture->contains("Aucune fenêtre trouvée pour org.gnome.TextEditor"));
    EXPECT_TRUE(capture->contains("Désactivation de l'effet (app fermée)"));
    EXPECT_EQ(openFogs(), 0u);
    EXPECT_FALSE(service.currentlyMonitoredBundleID());

    // Another application in front ends the retry at its next tick.
    loop.advanceSeconds(0.5);
    workspace.setFrontmost(kOtherPid);
    loop.advanceSeconds(0.3);
    EXPECT_TRUE(capture->contains(
        "App org.gnome.TextEditor n'est plus au premier plan - annulation retry"));
    capture->clear();
    windowServer.setWindows({window(kEditorPid, kEditorPid)});
    loop.advanceSeconds(2);
    EXPECT_FALSE(capture->contains("Fenêtre prête"));
    EXPECT_EQ(openFogs(), 0u);
}

TEST_F(AppMonitoringServiceTest, StoppingTakesEverythingDownAndStartingDecidesAgain) {
    targets() = {app(kEditor, true, true), app(kOther, false, false, true)};
    service.startMonitoring();
    bring(kEditorPid);
    workspace.launch({kOther, "Other", 301, kLaunch});
    ASSERT_EQ(panels.open().size(), 1u) << "a delay target waits from its launch";
    service.stopMonitoring();
    EXPECT_FALSE(service.isMonitoring());
    EXPECT_EQ(openFogs(), 0u);
    EXPECT_FALSE(turtle.isActive());
    EXPECT_TRUE(panels.open().empty());
    EXPECT_FALSE(delay.isDelayOverlayActive());
    EXPECT_FALSE(service.browserWatcher(kFirefox)->isStarted());
    bring(kOtherPid);
    loop.advanceSeconds(1);
    EXPECT_TRUE(panels.open().empty()) << "nothing decides while stopped";

    bring(kEditorPid);
    service.startMonitoring();
    service.startMonitoring();
    EXPECT_EQ(openFogs(), 1u);
    EXPECT_TRUE(service.browserWatcher(kFirefox)->isStarted());
}

}  // namespace
}  // namespace olvane

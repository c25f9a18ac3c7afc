// Extension status on the manual clock: the status files' age, the browser's launch and windows,
// the grace periods, Safari's answer, and the service's observers and timer.
#include <gtest/gtest.h>

#include "ExtensionStatusFixture.h"
#include "friction/BrowserSiteWatcher.h"
#include "platform/sim/CaptureLogSink.h"

namespace olvane {
namespace {

using enum ExtensionStatus;
using Kind = ExtensionStatusService::StatusFileKind;

class ExtensionStatusServiceTest : public ::testing::Test, public test::ExtensionStatusFixture {};

TEST_F(ExtensionStatusServiceTest, AStatusFileYoungerThan45SecondsMeansConnected) {
    struct Case {
        const char* name;
        double healthAge;  // negative: no file; below -1000: in the future
        double siteAge;
        ExtensionStatus expected;
    };
    const Case cases[] = {
        {"health 44.9 s", 44.9, -1, connected}, {"health 45.0 s", 45.0, -1, notDetected},
        {"site alone", -1, 10, connected},      {"the newer decides", 300, 44, connected},
        {"both stale", 300, 46, notDetected},   {"a time in the future", -5000, -1, notDetected},
    };
    launch(BrowserType::chrome, 600);
    for (const auto& c : cases) {
        std::filesystem::remove_all(paths.dataFolder());
        if (c.healthAge >= 0 || c.healthAge < -1000) {
            writeStatusFile(BrowserType::chrome, "health", c.healthAge < -1000 ? -60 : c.healthAge);
        }
        if (c.siteAge >= 0) {
            writeStatusFile(BrowserType::chrome, "site", c.siteAge);
        }
        service.refreshStatus(BrowserType::chrome);
        EXPECT_EQ(status(BrowserType::chrome), c.expected) << c.name;
        // Forget the connection seen, so that the next case starts from nothing.
        workspace.terminate(kChromePid);
        service.refreshStatus(BrowserType::chrome);
        launch(BrowserType::chrome, 600, false);
    }
}

TEST_F(ExtensionStatusServiceTest, AFileWrittenBeforeTheBrowsersLaunchIsNoEvidence) {
    writeStatusFile(BrowserType::firefox, "health", 5);
    launch(BrowserType::firefox, 2);
    EXPECT_EQ(service.readStatusTimestamp(Kind::health, BrowserType::firefox), std::nullopt);
    service.refreshStatus(BrowserType::firefox);
    EXPECT_EQ(status(BrowserType::firefox), connecting);  // launched 2 s ago

    writeStatusFile(BrowserType::firefox, "health", 0);
    service.refreshStatus(BrowserType::firefox);
    EXPECT_EQ(status(BrowserType::firefox), connected);
}

TEST_F(ExtensionStatusServiceTest, ABrowserWithAWindowAndNoFilesIsGivenTimeBeforeNotDetected) {
    launch(BrowserType::chrome, 5);
    service.refreshStatus(BrowserType::chrome);
    EXPECT_EQ(status(BrowserType::chrome), connecting);
    loop.advanceSeconds(3);  // launched 8 s ago
    service.refreshStatus(BrowserType::chrome);
    EXPECT_EQ(status(BrowserType::chrome), notDetected);

    // A connection seen less than 30 s ago keeps it connecting; the check's time counts, not
    // the file's.
    writeStatusFile(BrowserType::chrome, "site", 0);
    loop.advanceSeconds(44);
    service.refreshStatus(BrowserType::chrome);
    EXPECT_EQ(status(BrowserType::chrome), connected);
    loop.advanceSeconds(29);
    service.refreshStatus(BrowserType::chrome);
    EXPECT_EQ(status(BrowserType::chrome), connecting);
    loop.advanceSeconds(1);
    service.refreshStatus(BrowserType::chrome);
    EXPECT_EQ(status(BrowserType::chrome), notDetected);

    // So does a wake less than 15 s ago.
    service.start();
    systemEvents.send(platform::SystemEvent::DidWake);
    loop.runPending();
    EXPECT_EQ(service.lastSystemWake(), now());
    EXPECT_EQ(status(BrowserType::chrome), connecting);
    loop.advanceSeconds(15);
    EXPECT_EQ(status(BrowserType::chrome), notDetected);  // the 5-second ticks looked again
}

TEST_F(ExtensionStatusServiceTest, OnlyALargeWindowOfTheNormalLayerShowsARunningBrowser) {
    launch(BrowserType::firefox, 60, false);
    addWindow(kFirefoxPid, 100, 800);
    addWindow(kFirefoxPid, 800, 100);
    addWindow(kFirefoxPid, 800, 800, platform::kFloatingWindowLayer);
    addWindow(kChromePid, 800, 800);
    service.refreshStatus(BrowserType::firefox);
    EXPECT_EQ(status(BrowserType::firefox), browserNotRunning);

    addWindow(kFirefoxPid, 101, 101);
    service.refreshStatus(BrowserType::firefox);
    EXPECT_EQ(status(BrowserType::firefox), notDetected);
}

TEST_F(ExtensionStatusServiceTest, TheObserversFollowLaunchesQuitsAndTheExtensionsMessages) {
    service.start();
    EXPECT_EQ(extensionStatus().size(), 3u);

    launch(BrowserType::chrome, 0);
    loop.runPending();
    EXPECT_TRUE(coordinator.pendingLaunch.contains(BrowserType::chrome));
    EXPECT_EQ(status(BrowserType::chrome), connecting);

    writeStatusFile(BrowserType::chrome, "site", 0);
    notifications.post(BrowserSiteWatcher::kMessageReceivedNotification,
                       {{BrowserSiteWatcher::kBrowserBundleIDKey, "com.google.Chrome"}});
    EXPECT_EQ(status(BrowserType::chrome), connecting);  // in a task of its own
    loop.runPending();
    EXPECT_EQ(status(BrowserType::chrome), connected);
    EXPECT_TRUE(settings.settings().extensionEverDetected);

    // Quitting forgets the connection at once, and the site watcher's state with it.
    workspace.terminate(kChromePid);
    loop.runPending();
    EXPECT_EQ(status(BrowserType::chrome), browserNotRunning);
    EXPECT_FALSE(coordinator.pendingLaunch.contains(BrowserType::chrome));
    EXPECT_EQ(resetWatchers, std::vector<std::string>{"com.google.Chrome"});
    launch(BrowserType::chrome, 30);
    writeStatusFile(BrowserType::chrome, "site", 40);  // older than the relaunch
    loop.advanceSeconds(ExtensionStatusService::kReviewIntervalSeconds);
    EXPECT_EQ(status(BrowserType::chrome), notDetected);

    // After a stop nothing is followed any more.
    service.stop();
    workspace.terminate(kChromePid);
    loop.advanceSeconds(60);
    EXPECT_EQ(status(BrowserType::chrome), notDetected);
}

TEST_F(ExtensionStatusServiceTest, SafariIsJudgedByItsOwnAnswerIfItStillRunsThen) {
    service.refreshSafariStatus();
    EXPECT_EQ(status(BrowserType::safari), browserNotRunning);
    EXPECT_EQ(safari.queryCount(), 0);

    platform::sim::ScopedLogCapture log;
    launch(BrowserType::safari, 60);
    safari.setAnswer(platform::SafariExtensionState{false}, std::nullopt);
    service.refreshSafariStatus();
    loop.runPending();
    EXPECT_EQ(status(BrowserType::safari), notDetected);

    safari.setAnswer(platform::SafariExtensionState{true}, std::nullopt);
    safari.holdAnswers();
    service.refreshSafariStatus();
    workspace.terminate(kSafariPid);
    safari.releaseAnswers();
    loop.runPending();
    EXPECT_EQ(status(BrowserType::safari), browserNotRunning);
    EXPECT_FALSE(settings.settings().extensionEverDetected);

    launch(BrowserType::safari, 60);
    safari.setAnswer(std::nullopt, "refusé");
    service.refreshSafariStatus();
    loop.runPending();
    EXPECT_EQ(status(BrowserType::safari), notDetected);
    EXPECT_TRUE(
        log->contains("App", platform::LogLevel::Error, "SFSafariExtensionManager erreur: refusé"));
}

TEST_F(ExtensionStatusServiceTest, TheSameStatusTwiceNotifiesNobodyAndReviewsNothing) {
    int notices = 0;
    const auto observation = extensionStatus.observe([&](const auto&) { ++notices; });
    launch(BrowserType::firefox, 60);
    settings.settings().grayscaleAllowedSites = {"youtube.com"};
    settings.settings().userWantsGrayscaleEnabled = true;
    int warnings = 0;
    coordinator.presentWarning = [&](BrowserType) { ++warnings; };
    coordinator.pendingLaunch.insert(BrowserType::firefox);

    service.setStatus(notDetected, BrowserType::firefox);
    coordinator.isWarningPanelShown = false;
    coordinator.pendingLaunch.insert(BrowserType::firefox);
    service.setStatus(notDetected, BrowserType::firefox);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(warnings, 1);
}

TEST_F(ExtensionStatusServiceTest, TheFirstConnectionOfAnyBrowserIsSavedOnce) {
    launch(BrowserType::firefox, 60);
    writeStatusFile(BrowserType::firefox, "health", 0);
    service.refreshStatus(BrowserType::firefox);
    ASSERT_TRUE(settings.settings().extensionEverDetected);
    ASSERT_TRUE(store.get(SettingsManager::kSettingsKey).isPresent());
    ASSERT_TRUE(store.remove(SettingsManager::kSettingsKey));
    service.refreshStatus(BrowserType::firefox);
    EXPECT_FALSE(store.get(SettingsManager::kSettingsKey).isPresent()) << "saved a second time";
}

}  // namespace
}  // namespace olvane

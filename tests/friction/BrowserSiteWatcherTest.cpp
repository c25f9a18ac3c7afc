#include <gtest/gtest.h>

#include "friction/BrowserSiteWatchers.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/FileIO.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimWorkspace.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

using platform::FileEvent;
using platform::sim::ScopedLogCapture;

constexpr const char* kFirefox = "org.mozilla.firefox";
constexpr double kLaunch = 1'000'000.0;

class BrowserSiteWatcherTest : public ::testing::Test {
  protected:
    BrowserSiteWatcherTest() {
        EXPECT_TRUE(platform::ensurePrivateFolder(paths.dataFolder()));
        workspace.launch({kFirefox, "Firefox", 100, kLaunch});
        firefox.onDomainChanged = [this](const auto& domain) { changes.push_back(domain); };
        notice = notifications.observe(BrowserSiteWatcher::kMessageReceivedNotification,
                                       [this](const Json& info) { notices.push_back(info); });
    }

    // The host writes the file in place, then the watch reports it.
    void report(const Json& content) {
        ASSERT_TRUE(exchange::writeExchangeFile(firefox.file(), content));
        files.fire(firefox.file(), FileEvent::Write);
    }
    void reportAndSettle(const std::string& domain, double timestamp) {
        report({{"domain", domain}, {"timestamp", timestamp}});
        loop.advanceSeconds(BrowserSiteWatcher::kDebounceSeconds);
    }

    test::TempHome home;
    platform::Paths paths = home.paths();
    platform::sim::ManualRunLoop loop;
    platform::sim::SimFileWatcher files;
    platform::sim::SimWorkspace workspace;
    platform::NotificationCenter notifications;
    BrowserSiteWatcher::Collaborators collaborators{loop, files, workspace, notifications};
    BrowserSiteWatcher firefox{collaborators, "Firefox", kFirefox, "firefox-site.json",
                               paths.dataFolder()};
    std::vector<std::optional<std::string>> changes;
    std::vector<Json> notices;
    platform::Handle notice;
};

TEST_F(BrowserSiteWatcherTest, AMissingFileIsSeededAndItsZeroStampIgnored) {
    ScopedLogCapture capture;
    firefox.start();
    ASSERT_TRUE(firefox.isStarted());
    EXPECT_EQ(platform::readWholeFile(firefox.file()), "{}");
    EXPECT_TRUE(capture->contains("FirefoxSiteWatcher démarré"));
    EXPECT_TRUE(capture->contains(
        "FirefoxSiteWatcher: fichier antérieur au lancement du navigateur (1000000.000000 > "
        "0.000000), ignoré"));
    EXPECT_TRUE(notices.empty());
}

TEST_F(BrowserSiteWatcherTest, ABurstOfWritesIsReadOnceAfterTheLastSettles) {
    firefox.start();
    ScopedLogCapture capture;
    report({{"domain", "youtube.com"}, {"timestamp", kLaunch + 1}});
    loop.advanceSeconds(0.05);
    report({{"domain", "youtube.com"}, {"timestamp", kLaunch + 2}});
    loop.advanceSeconds(0.099);
    EXPECT_EQ(capture->count("FirefoxSiteWatcher: traitement du fichier firefox-site.json"), 0u);
    loop.advanceSeconds(0.001);
    EXPECT_EQ(capture->count("FirefoxSiteWatcher: traitement du fichier firefox-site.json"), 1u);
    EXPECT_EQ(firefox.currentDomain(), "youtube.com");
    EXPECT_EQ(changes, (std::vector<std::optional<std::string>>{"youtube.com"}));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], (Json{{"browserBundleID", kFirefox}}));
    EXPECT_TRUE(capture->contains("👆 Firefox site: (nil) → youtube.com"));
}

TEST_F(BrowserSiteWatcherTest, OnlyNewerStampsFromThisRunOfTheBrowserCount) {
    firefox.start();
    struct Case {
        std::string domain;
        double timestamp;
        bool accepted;
    };
    const Case cases[] = {
        {"a.test", kLaunch - 0.001, false},  // before the launch
        {"a.test", kLaunch, true},           // at the launch
        {"b.test", kLaunch, false},          // not newer
        {"b.test", kLaunch + 1e-6, true},    // newer by any amount
    };
    for (const auto& c : cases) {
        const auto before = notices.size();
        reportAndSettle(c.domain, c.timestamp);
        EXPECT_EQ(notices.size() - before, c.accepted ? 1u : 0u) << c.timestamp;
    }
    EXPECT_EQ(firefox.currentDomain(), "b.test");

    // A browser that does not run is not listened to.
    workspace.terminate(100);
    reportAndSettle("c.test", kLaunch + 5);
    EXPECT_EQ(firefox.currentDomain(), "b.test");
}

TEST_F(BrowserSiteWatcherTest, TheSameSiteStillNotifiesAnEmptyOneClearsIt) {
    firefox.start();
    reportAndSettle("youtube.com", kLaunch + 1);
    ScopedLogCapture capture;
    reportAndSettle("youtube.com", kLaunch + 2);
    EXPECT_EQ(notices.size(), 2u);
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_TRUE(capture->contains("FirefoxSiteWatcher: domaine reçu = 'youtube.com'"));
    EXPECT_EQ(capture->count("👆 Firefox site: (nil) → youtube.com"), 0u);

    reportAndSettle("", kLaunch + 3);
    EXPECT_FALSE(firefox.currentDomain());
    EXPECT_EQ(changes.back(), std::nullopt);
    EXPECT_TRUE(capture->contains("FirefoxSiteWatcher: domaine reçu = '(vide)'"));
    EXPECT_TRUE(capture->contains("👆 Firefox site: youtube.com → (nil)"));
}

TEST_F(BrowserSiteWatcherTest, ResetForgetsTheStampStopAndStartDoNot) {
    firefox.start();
    reportAndSettle("youtube.com", kLaunch + 10);

    firefox.stop();
    EXPECT_FALSE(firefox.isStarted());
    EXPECT_FALSE(firefox.currentDomain());
    firefox.start();
    EXPECT_FALSE(firefox.currentDomain());
    EXPECT_EQ(notices.size(), 1u);

    firefox.resetState();
    EXPECT_EQ(firefox.lastTimestamp(), 0);
    EXPECT_EQ(changes.size(), 1u);
    files.fire(firefox.file(), FileEvent::Write);
    loop.advanceSeconds(BrowserSiteWatcher::kDebounceSeconds);
    EXPECT_EQ(firefox.currentDomain(), "youtube.com");
    EXPECT_EQ(notices.size(), 2u);
}

TEST_F(BrowserSiteWatcherTest, UnusableFilesChangeNothing) {
    firefox.start();
    reportAndSettle("youtube.com", kLaunch + 10);
    ScopedLogCapture capture;
    // Beyond what a double holds: not JSON this parser accepts.
    ASSERT_TRUE(
        platform::writeFileInPlace(firefox.file(), R"({"domain": "x.test", "timestamp": 1e400})"));
    files.fire(firefox.file(), FileEvent::Write);
    loop.advanceSeconds(0.1);
    report({{"domain", "x.test"}, {"timestamp", "tomorrow"}});
    loop.advanceSeconds(0.1);
    EXPECT_TRUE(capture->contains("FirefoxSiteWatcher: format JSON invalide"));
    // A stamp that is not a number counts as 0.
    EXPECT_TRUE(capture->contains(
        "FirefoxSiteWatcher: fichier antérieur au lancement du navigateur (1000000.000000 > "
        "0.000000), ignoré"));
    EXPECT_EQ(firefox.currentDomain(), "youtube.com");
    EXPECT_EQ(firefox.lastTimestamp(), kLaunch + 10);

    reportAndSettle("x.test", kLaunch + 11);
    EXPECT_EQ(firefox.currentDomain(), "x.test");
}

TEST(BrowserSiteWatchers, SafariReadsTheDataFolderWhenNoSharedContainerCanBeHad) {
    test::TempHome home;
    const auto paths = home.paths();
    platform::sim::ManualRunLoop loop;
    platform::sim::SimFileWatcher files;
    platform::sim::SimWorkspace workspace;
    platform::NotificationCenter notifications;
    ASSERT_TRUE(platform::ensurePrivateFolder(paths.dataHome()));
    ASSERT_TRUE(platform::writeFileAtomically(paths.sharedContainer(), "not a folder"));
    const auto container = availableSharedContainer(paths);
    EXPECT_FALSE(container);

    const auto watchers = makeBrowserSiteWatchers({loop, files, workspace, notifications},
                                                  paths.dataFolder(), container);
    ASSERT_EQ(watchers.size(), 3u);
    EXPECT_EQ(watchers.at("com.apple.Safari")->file(), paths.dataFolder() / "safari-site.json");
    EXPECT_EQ(watchers.at("com.google.Chrome")->file(), paths.dataFolder() / "chrome-site.json");
    EXPECT_EQ(watchers.at("org.mozilla.firefox")->browserName(), "Firefox");

    const auto shared = makeBrowserSiteWatchers({loop, files, workspace, notifications},
                                                paths.dataFolder(), paths.dataHome() / "group");
    EXPECT_EQ(shared.at("com.apple.Safari")->file(),
              paths.dataHome() / "group" / "safari-site.json");
}

}  // namespace
}  // namespace olvane

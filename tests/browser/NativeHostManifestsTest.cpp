// The manifests in a temporary home: what is written where, what the uninstall removes.
#include <gtest/gtest.h>

#include "browser/NativeHostManifests.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/sim/CaptureLogSink.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::sim::ScopedLogCapture;

class NativeHostManifestsTest : public ::testing::Test {
  protected:
    NativeHostSetup setup(InstalledBrowsers browsers) const { return {paths, host, browsers}; }
    std::optional<Json> manifestIn(const fs::path& folder) const {
        const auto text = platform::readWholeFile(folder / kNativeHostManifestFile);
        return text ? json::parseObject(*text) : std::nullopt;
    }
    void put(const fs::path& folder) const {
        ASSERT_TRUE(platform::ensurePrivateFolder(folder));
        ASSERT_TRUE(platform::writeFileInPlace(folder / kNativeHostManifestFile, "{}"));
    }

    test::TempHome home;
    platform::Paths paths = home.paths();
    fs::path host = home.root() / "opt" / "olvanemac-host";
};

TEST_F(NativeHostManifestsTest, WithoutChromeOnlyFirefoxGetsItsManifestAndBothStepsSucceed) {
    ScopedLogCapture log;
    EXPECT_TRUE(installNativeHostManifests(setup({})));

    const auto firefox = manifestIn(home.root() / ".mozilla" / "native-messaging-hosts");
    ASSERT_TRUE(firefox);
    const Json expected = {
        {"name", "com.olvanemac.host"},
        {"description", "OlvaneMac Native Messaging Host - Synchronise les règles de filtrage"},
        {"path", host.string()},
        {"type", "stdio"},
        {"allowed_extensions", {olvaneExtensions().firefoxAddOn}}};
    EXPECT_EQ(*firefox, expected);
    EXPECT_FALSE(fs::exists(chromeManifestFolder(paths)));
    EXPECT_FALSE(fs::exists(chromiumManifestFolder(paths)));
    EXPECT_TRUE(log->contains("Chrome non installé, skip manifest Chrome"));
    // The host is not there: said, and the manifests are written all the same.
    EXPECT_TRUE(log->contains("ContentFilter", platform::LogLevel::Error,
                              "Native host binary introuvable: " + host.string() +
                                  " — les extensions Chrome/Firefox ne pourront pas se connecter. "
                                  "Rebuild l'app ou déplace OlvaneMac à son emplacement final "
                                  "puis relance."));
}

TEST_F(NativeHostManifestsTest, ChromeAndChromiumGetTheChromeManifestInTheirOwnFolders) {
    ASSERT_TRUE(platform::ensurePrivateFolder(host.parent_path()));
    ASSERT_TRUE(platform::writeFileInPlace(host, "", 0700));
    put(chromiumManifestFolder(paths));  // an earlier one is overwritten
    ScopedLogCapture log;
    EXPECT_TRUE(installNativeHostManifests(setup({.chrome = true, .chromium = true})));

    const Json expectedOrigins = {
        "chrome-extension://" + olvaneExtensions().chromeExtensions[0] + "/",
        "chrome-extension://" + olvaneExtensions().chromeExtensions[1] + "/"};
    for (const auto& folder : {chromeManifestFolder(paths), chromiumManifestFolder(paths)}) {
        const auto chrome = manifestIn(folder);
        ASSERT_TRUE(chrome) << folder;
        EXPECT_EQ(chrome->size(), 5u);
        EXPECT_EQ((*chrome)["path"], host.string());
        EXPECT_EQ((*chrome)["allowed_origins"], expectedOrigins);
        EXPECT_FALSE(chrome->contains("allowed_extensions"));
    }
    EXPECT_TRUE(log->contains("Native Host manifest Chrome installé: " +
                              (chromiumManifestFolder(paths) / kNativeHostManifestFile).string()));
    EXPECT_EQ(log->lines().size(), 3u);  // Firefox's line and Chrome's two
}

TEST_F(NativeHostManifestsTest, AFolderThatCannotBeMadeFailsItsStepAndTheOtherGoesOn) {
    // A file where Firefox's folder would go.
    ASSERT_TRUE(platform::writeFileInPlace(home.root() / ".mozilla", "x"));
    ScopedLogCapture log;
    EXPECT_FALSE(installNativeHostManifests(setup({.chrome = true})));
    EXPECT_TRUE(manifestIn(chromeManifestFolder(paths)));
    EXPECT_EQ(log->texts("ContentFilter")
                  .front()
                  .rfind("⚠️ Échec installation Native Host Firefox: ", 0),
              0u);
}

TEST_F(NativeHostManifestsTest, UninstallCountsOnlyTheManifestsReallyRemoved) {
    const auto folders = uninstallManifestFolders(paths);
    ASSERT_EQ(folders.size(), 7u);  // the eighth browser has no Linux build

    {
        ScopedLogCapture log;
        EXPECT_EQ(uninstallNativeHostManifests(paths), 0);
        EXPECT_TRUE(log->contains("Native Host manifests désinstallés: 0 emplacement(s)"));
    }

    for (const auto& folder : folders) {
        put(folder);
    }
    // Where Brave's manifest would be stands a folder that is not empty: it cannot go.
    const auto stuck = folders[2] / kNativeHostManifestFile;
    fs::remove(stuck);
    ASSERT_TRUE(platform::ensurePrivateFolder(stuck / "inside"));
    ScopedLogCapture log;
    EXPECT_EQ(uninstallNativeHostManifests(paths), 6);
    EXPECT_TRUE(log->contains("Native Host manifests désinstallés: 6 emplacement(s)"));
    EXPECT_EQ(log->lines().size(), 2u);  // the failure, then the count
    EXPECT_EQ(
        log->lines().front().text.rfind("⚠️ Échec suppression du manifest Native Host", 0),
        0u);
    for (const auto& folder : folders) {
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
    }
}

}  // namespace
}  // namespace olvane

#include <gtest/gtest.h>

#include "app/StartupExports.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "platform/FileIO.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

using platform::LogLevel;

RedListConfig target(FrictionTargetType type, std::string identifier) {
    RedListConfig config;
    config.id = Uuid::random();
    config.targetType = type;
    config.targetIdentifier = identifier;
    config.targetDisplayName = identifier;
    return config;
}

struct StartupExportsTest : ::testing::Test {
    test::TempHome home;
    platform::Paths paths = home.paths();
    RulesFileService rulesFile{paths};
    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings{store, loop.clock()};
    platform::sim::ScopedLogCapture log;
    StartupExports exports{settings, rulesFile};
};

TEST_F(StartupExportsTest, WritesTargetsAndRulesAfterTheLegacyCleanUp) {
    ASSERT_TRUE(platform::writeFileInPlace(rulesFile.rulesFile(), R"({
        "tiktok": {"tiktok_foryou": true}, "_fog": {}, "youtube": {"yt_home": true},
        "_grayscale": {"allowedSites": ["a.test"]}})"));
    auto& stored = settings.settings();
    auto fog = target(FrictionTargetType::website, "site.test");
    fog.isFogEnabled = true;
    stored.redListConfigs = {fog, target(FrictionTargetType::app, "org.mozilla.firefox"),
                             target(FrictionTargetType::website, "=site.test"),
                             target(FrictionTargetType::website, "=")};
    stored.contentFilterRules = {
        {Platform::youtube, false, {{"yt_shorts", true}, {"yt_home", false}}},
        {Platform::facebook, true, {{"fb_reels", true}}}};

    exports.run();

    const Json rules = rulesFile.readRules();
    EXPECT_FALSE(rules.contains("tiktok"));
    EXPECT_FALSE(rules.contains("_fog"));
    EXPECT_EQ(rules.at("_grayscale"), (Json{{"allowedSites", {"a.test"}}}));
    EXPECT_EQ(rules.at("youtube"), (Json{{"yt_shorts", true}}));
    EXPECT_FALSE(rules.contains("facebook"));
    const auto& sites = rules.at("_redList").at("sites");
    ASSERT_EQ(sites.size(), 2u);
    EXPECT_EQ(sites[0].at("domain"), "=site.test");
    EXPECT_EQ(sites[1].at("domain"), "site.test");
    EXPECT_EQ(platform::readWholeFile(rulesFile.sharedRulesFile()),
              platform::readWholeFile(rulesFile.rulesFile()));

    // The swapped facebook rule and the appended youtube ones are stored.
    EXPECT_EQ(settings.settings().contentFilterRules[1].rules,
              (std::vector<ContentRule>{{"fb_feed", false}}));
    EXPECT_EQ(settings.settings().contentFilterRules[0].rules.size(), 5u);
    EXPECT_TRUE(log->contains("ContentFilter", LogLevel::Error,
                              "Migration: 3 règle(s) ajoutée(s) ou supprimée(s)"));

    EXPECT_TRUE(log->contains("App", LogLevel::Info,
                              "rules.json nettoyé: clés legacy supprimées (tiktok, _fog)"));
    EXPECT_TRUE(log->contains("FrictionEffects", LogLevel::Info,
                              "Config exportée au démarrage: 2 sites (1 avec effets actifs)"));
    EXPECT_TRUE(log->contains("ContentFilter", LogLevel::Info,
                              "Règles Assainisseur exportées au démarrage: 1 règles actives"));
}

TEST_F(StartupExportsTest, NoTargetsGiveAnEmptySiteList) {
    settings.settings().redListConfigs.clear();
    exports.exportRedListConfigAtLaunch();
    EXPECT_EQ(rulesFile.readRules().at("_redList"), (Json{{"sites", Json::array()}}));
    EXPECT_TRUE(log->contains("Config exportée au démarrage: 0 sites (0 avec effets actifs)"));
}

}  // namespace
}  // namespace olvane

#include <gtest/gtest.h>

#include "model/ContentRulesModel.h"
#include "model/SettingsManager.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"

namespace olvane {
namespace {

using platform::LogLevel;

constexpr const char* kCountLine = "Migration: 1 règle(s) ajoutée(s) ou supprimée(s)";

struct ContentRulesMigrationTest : ::testing::Test {
    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings{store, loop.clock()};
    platform::sim::ScopedLogCapture log;

    std::vector<PlatformRules> storedRules() const {
        const auto blob = store.get(SettingsManager::kSettingsKey);
        EXPECT_TRUE(blob.isPresent());
        return UserSettings::fromJson(*json::parse(blob.bytes))->contentFilterRules;
    }
};

TEST_F(ContentRulesMigrationTest, RetiredRuleDroppedChangesTheCountAndIsSaved) {
    const std::vector<PlatformRules> stored = {
        {Platform::facebook, true, {{"fb_feed", true}, {"fb_reels", true}}}};
    const auto migrated = ContentRulesModel::migrateRules(stored, settings);
    const std::vector<PlatformRules> expected = {{Platform::facebook, true, {{"fb_feed", true}}}};
    EXPECT_EQ(migrated, expected);
    EXPECT_EQ(storedRules(), expected);
    EXPECT_TRUE(log->contains("ContentFilter", LogLevel::Error, kCountLine));
}

TEST_F(ContentRulesMigrationTest, SwappedRuleIsSavedThoughTheCountStaysEqual) {
    const std::vector<PlatformRules> stored = {{Platform::facebook, false, {{"fb_reels", true}}}};
    const auto migrated = ContentRulesModel::migrateRules(stored, settings);
    const std::vector<PlatformRules> expected = {{Platform::facebook, false, {{"fb_feed", false}}}};
    EXPECT_EQ(migrated, expected);
    EXPECT_EQ(settings.settings().contentFilterRules, expected);
    EXPECT_EQ(storedRules(), expected);
    EXPECT_TRUE(log->contains("Migration: ajout de la règle 'fb_feed' pour Facebook"));
    EXPECT_FALSE(log->contains(kCountLine));
}

TEST_F(ContentRulesMigrationTest, RulesInLineWithTheCatalogueAreNotSaved) {
    auto stored = UserSettings::defaultContentFilterRules();
    stored[2].rules = {{"linkedin_news", true}, {"linkedin_feed", false}, {"linkedin_limit", true}};
    stored.push_back({Platform::youtube, true, {}});  // a second youtube set is migrated too
    const auto writes = store.writeCount();

    const auto migrated =
        ContentRulesModel::migrateRules({stored.begin(), stored.end() - 1}, settings);
    EXPECT_EQ(migrated, std::vector<PlatformRules>(stored.begin(), stored.end() - 1));
    EXPECT_EQ(store.writeCount(), writes);
    EXPECT_TRUE(log->lines().empty());

    EXPECT_EQ(ContentRulesModel::migrateRules(stored, settings).back().rules.size(), 5u);
    EXPECT_TRUE(log->contains("Migration: 5 règle(s) ajoutée(s) ou supprimée(s)"));
    EXPECT_TRUE(ContentRulesModel::migrateRules({}, settings).empty());
}

}  // namespace
}  // namespace olvane

#include <gtest/gtest.h>

#include <algorithm>

#include "model/ContentRuleCatalogue.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "platform/FileIO.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "support/TempHome.h"
#include "ui/pages/RecordingFeatureUsage.h"
#include "ui/pages/assainisseur/ContentFilterViewModel.h"

namespace olvane {
namespace {

using platform::sim::ScopedLogCapture;

PlatformRules set(Platform platform, std::vector<ContentRule> rules) {
    return PlatformRules{platform, false, std::move(rules)};
}

std::vector<std::string> ids(const std::vector<ContentRule>& rules) {
    std::vector<std::string> out;
    for (const auto& rule : rules) {
        out.push_back(rule.id);
    }
    return out;
}

struct ContentFilterViewModelTest : ::testing::Test {
    test::TempHome home;
    platform::Paths paths = home.paths();
    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings{store, loop.clock()};
    RulesFileService rulesFile{paths};
    test::RecordingFeatureUsage usage;
    std::vector<std::vector<std::string>> prefetched;
    ScopedLogCapture log;

    void storeRules(std::vector<PlatformRules> sets) {
        settings.settings().contentFilterRules = std::move(sets);
        ASSERT_TRUE(settings.saveSettings());
        log->clear();
    }
    std::unique_ptr<ContentFilterViewModel> makeModel() {
        return std::make_unique<ContentFilterViewModel>(ContentFilterViewModel::Collaborators{
            settings, rulesFile, usage,
            [this](const std::vector<std::string>& domains) { prefetched.push_back(domains); }});
    }
    // What a later start would read.
    std::vector<PlatformRules> storedRules() {
        SettingsManager reread(store, loop.clock());
        return reread.settings().contentFilterRules;
    }
    static std::optional<Json> fileAt(const std::filesystem::path& file) {
        const auto text = platform::readWholeFile(file);
        return text ? json::parse(*text) : std::nullopt;
    }
    std::size_t saves() { return log->count("Réglages sauvegardés avec succès"); }
    std::size_t exports() {
        return log->count("Règles exportées vers " + rulesFile.rulesFile().string());
    }
};

TEST_F(ContentFilterViewModelTest, AnEmptyStoredListBecomesTheCatalogueWithoutTouchingTheFile) {
    storeRules({});
    const auto model = makeModel();

    EXPECT_EQ(model->platformRules(), ContentRuleCatalogue::rules());
    EXPECT_EQ(storedRules(), ContentRuleCatalogue::rules());
    EXPECT_EQ(saves(), 1u);
    EXPECT_FALSE(std::filesystem::exists(rulesFile.rulesFile()));
    EXPECT_EQ(prefetched, (std::vector<std::vector<std::string>>{
                              {"youtube.com", "instagram.com", "linkedin.com", "facebook.com"}}));
}

TEST_F(ContentFilterViewModelTest, ARetiredRuleSwappedForANewOneIsShownAndStoredMigrated) {
    storeRules({set(Platform::facebook, {{"fb_reels", true}})});
    const auto model = makeModel();

    const std::vector<PlatformRules> migrated{set(Platform::facebook, {{"fb_feed", false}})};
    EXPECT_EQ(model->platformRules(), migrated);
    EXPECT_EQ(storedRules(), migrated);
    for (const auto& text : log->texts("ContentFilter")) {
        EXPECT_EQ(text.find("règle(s) ajoutée(s)"), std::string::npos) << text;
    }
    EXPECT_FALSE(std::filesystem::exists(rulesFile.rulesFile()));
}

TEST_F(ContentFilterViewModelTest, RulesShowInCatalogueOrderWithUnknownOnesLast) {
    storeRules({set(Platform::linkedin,
                    {{"custom_x", true}, {"linkedin_news", false}, {"linkedin_feed", false}})});
    const auto model = makeModel();

    EXPECT_EQ(
        ids(model->rules(Platform::linkedin)),
        (std::vector<std::string>{"linkedin_limit", "linkedin_feed", "linkedin_news", "custom_x"}));
    EXPECT_EQ(
        ids(model->platformRules().front().rules),
        (std::vector<std::string>{"custom_x", "linkedin_news", "linkedin_feed", "linkedin_limit"}));
    EXPECT_EQ(model->enabledRuleCount(Platform::linkedin), 1);
    EXPECT_EQ(model->ruleCount(Platform::linkedin), 4);
    EXPECT_TRUE(model->rules(Platform::youtube).empty());

    model->toggleRule("linkedin_news", Platform::linkedin, true);
    EXPECT_EQ(fileAt(rulesFile.rulesFile())->at("linkedin"),
              (Json{{"custom_x", true}, {"linkedin_news", true}}));
}

TEST_F(ContentFilterViewModelTest, ToggleTable) {
    struct Row {
        const char* situation;
        std::vector<ContentRule> linkedin;  // stored LinkedIn rules; YouTube is the catalogue's
        std::string ruleId;
        Platform platform;
        bool enabled;
        std::vector<ContentRule> expectedLinkedIn;
        std::size_t writes;  // saves, and as many file writes
        std::vector<std::string> userActions;
        std::size_t promptsAsked;
    };
    const std::vector<ContentRule> feedOn{
        {"linkedin_limit", false}, {"linkedin_feed", true}, {"linkedin_news", false}};
    const std::vector<ContentRule> limitOn{
        {"linkedin_limit", true}, {"linkedin_feed", false}, {"linkedin_news", false}};
    const std::vector<Row> rows{
        {"limit on turns feed off",
         feedOn,
         "linkedin_limit",
         Platform::linkedin,
         true,
         limitOn,
         1,
         {"👆 Règle 'Limiter le fil d'actualité aux 2 premiers posts' activée"},
         1},
        {"feed on turns limit off",
         limitOn,
         "linkedin_feed",
         Platform::linkedin,
         true,
         feedOn,
         1,
         {"👆 Règle 'Masquer le fil d'actualité' activée"},
         1},
        {"limit off leaves feed off",
         limitOn,
         "linkedin_limit",
         Platform::linkedin,
         false,
         {{"linkedin_limit", false}, {"linkedin_feed", false}, {"linkedin_news", false}},
         1,
         {"👆 Règle 'Limiter le fil d'actualité aux 2 premiers posts' désactivée"},
         0},
        {"the same state still saves",
         feedOn,
         "yt_shorts",
         Platform::youtube,
         false,
         feedOn,
         1,
         {"👆 Règle 'Masquer les Shorts' désactivée"},
         0},
        {"an unknown rule does nothing",
         feedOn,
         "yt_nope",
         Platform::youtube,
         true,
         feedOn,
         0,
         {},
         0},
        {"a platform without a set does nothing",
         feedOn,
         "fb_feed",
         Platform::facebook,
         true,
         feedOn,
         0,
         {},
         0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.situation);
        storeRules({ContentRuleCatalogue::rules().front(), set(Platform::linkedin, row.linkedin)});
        usage.used.clear();
        const auto model = makeModel();
        log->clear();

        model->toggleRule(row.ruleId, row.platform, row.enabled);

        EXPECT_EQ(model->rules(Platform::linkedin), row.expectedLinkedIn);
        EXPECT_EQ(storedRules().back().rules, row.expectedLinkedIn);
        EXPECT_EQ(saves(), row.writes);
        EXPECT_EQ(exports(), row.writes);
        std::vector<std::string> actions;
        for (const auto& text : log->texts("ContentFilter")) {
            if (text.starts_with("👆")) {
                actions.push_back(text);
            }
        }
        EXPECT_EQ(actions, row.userActions);
        EXPECT_EQ(usage.used.size(), row.promptsAsked);
        EXPECT_TRUE(std::ranges::all_of(
            usage.used, [](auto c) { return c == WebFeatureCategory::assainisseur; }));
        std::filesystem::remove(rulesFile.rulesFile());
    }
}

TEST_F(ContentFilterViewModelTest, OfTwoSetsForOnePlatformTheToggledFirstIsPublished) {
    storeRules({set(Platform::youtube, {{"yt_shorts", false}}),
                set(Platform::youtube, {{"yt_home", true}})});
    const auto model = makeModel();

    model->toggleRule("yt_shorts", Platform::youtube, true);
    EXPECT_EQ(fileAt(rulesFile.rulesFile())->at("youtube"), (Json{{"yt_shorts", true}}));
}

TEST_F(ContentFilterViewModelTest, TheLastRuleOffRemovesItsPlatformAndKeepsTheOtherSections) {
    storeRules({set(Platform::youtube, {{"yt_shorts", true}, {"yt_home", false}})});
    ASSERT_TRUE(platform::writeFileAtomically(rulesFile.rulesFile(), R"({
        "youtube": {"yt_shorts": true}, "_grayscale": {"allowedSites": ["a.test"]},
        "_redList": {"sites": []}, "future": 1})"));
    const auto model = makeModel();

    model->toggleRule("yt_shorts", Platform::youtube, false);

    const Json expected{{"_grayscale", {{"allowedSites", {"a.test"}}}},
                        {"_redList", {{"sites", Json::array()}}},
                        {"future", 1}};
    EXPECT_EQ(fileAt(rulesFile.rulesFile()), expected);
    EXPECT_EQ(fileAt(rulesFile.sharedRulesFile()), expected);
}

}  // namespace
}  // namespace olvane

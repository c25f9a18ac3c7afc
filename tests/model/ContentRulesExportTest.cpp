#include <gtest/gtest.h>

#include "model/ContentRuleCatalogue.h"
#include "model/ContentRulesModel.h"
#include "model/RulesFileService.h"
#include "platform/FileIO.h"
#include "platform/sim/CaptureLogSink.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::LogLevel;

PlatformRules set(Platform platform, std::vector<ContentRule> rules, bool enabled = false) {
    return PlatformRules{platform, enabled, std::move(rules)};
}

TEST(ContentRuleCatalogue, TablesFollowTheCatalogue) {
    EXPECT_EQ(ContentRuleCatalogue::ruleDisplayOrder(Platform::linkedin),
              (std::vector<std::string>{"linkedin_limit", "linkedin_feed", "linkedin_news"}));
    EXPECT_EQ(ContentRuleCatalogue::ruleDisplayOrder(Platform::youtube).size(), 5u);
    EXPECT_EQ(ContentRuleCatalogue::legacyRuleIds().size(), 25u);
    EXPECT_TRUE(ContentRuleCatalogue::isRetired("fb_reels"));
    EXPECT_FALSE(ContentRuleCatalogue::isRetired("FB_REELS"));
    EXPECT_FALSE(ContentRuleCatalogue::isRetired("fb_feed"));
    EXPECT_EQ(ContentRuleCatalogue::displayName(Platform::linkedin), "LinkedIn");
    EXPECT_EQ(ContentRuleCatalogue::faviconDomain(Platform::facebook), "facebook.com");
}

TEST(ContentRulesModel, MigrationDropsRetiredRulesAndAppendsMissingOnesOff) {
    platform::sim::ScopedLogCapture log;
    const auto migrated = ContentRulesModel::migratePlatformRules(
        set(Platform::linkedin, {{"linkedin_news", true}, {"fb_limit", true}, {"custom_x", true}},
            true));
    EXPECT_EQ(migrated, set(Platform::linkedin,
                            {{"linkedin_news", true},
                             {"custom_x", true},
                             {"linkedin_limit", false},
                             {"linkedin_feed", false}},
                            true));
    EXPECT_EQ(
        log->texts("ContentFilter"),
        (std::vector<std::string>{"Migration: ajout de la règle 'linkedin_limit' pour LinkedIn",
                                  "Migration: ajout de la règle 'linkedin_feed' pour LinkedIn"}));
}

TEST(ContentRulesModel, FirstSetOfAPlatformIsExported) {
    const auto sections = ContentRulesModel::platformSections({
        set(Platform::youtube, {{"yt_shorts", true}, {"yt_home", false}, {"yt_comments", true}}),
        set(Platform::instagram, {{"insta_feed", false}}, true),
        set(Platform::facebook, {}),
        set(Platform::youtube, {{"yt_home", true}}),
        set(Platform::facebook, {{"fb_feed", true}}),
    });
    EXPECT_EQ(sections, (Json{{"youtube", {{"yt_comments", true}, {"yt_shorts", true}}}}));
}

struct ContentRulesExportTest : ::testing::Test {
    test::TempHome home;
    platform::Paths paths = home.paths();
    RulesFileService rulesFile{paths};
    platform::sim::ScopedLogCapture log;
};

TEST_F(ContentRulesExportTest, ReplacesPlatformSectionsAndKeepsTheOthersSorted) {
    ASSERT_TRUE(platform::writeFileInPlace(rulesFile.rulesFile(), R"({
        "youtube": {"yt_home": true}, "linkedin": {"linkedin_feed": true},
        "_grayscale": {"allowedSites": ["a.test"]}, "_redList": {"sites": []}, "other": 1})"));

    ContentRulesModel::exportRules({set(Platform::youtube, {{"yt_shorts", true}}),
                                    set(Platform::linkedin, {{"linkedin_feed", false}}),
                                    set(Platform::facebook, {{"fb_feed", true}})},
                                   rulesFile);

    const auto text = *platform::readWholeFile(rulesFile.rulesFile());
    EXPECT_EQ(*json::parse(text), (Json{{"youtube", {{"yt_shorts", true}}},
                                        {"facebook", {{"fb_feed", true}}},
                                        {"_grayscale", {{"allowedSites", {"a.test"}}}},
                                        {"_redList", {{"sites", Json::array()}}},
                                        {"other", 1}}));
    EXPECT_LT(text.find("\"_grayscale\""), text.find("\"facebook\""));
    EXPECT_LT(text.find("\"facebook\""), text.find("\"youtube\""));
    EXPECT_NE(text.find("\n  \""), std::string::npos);
    EXPECT_EQ(platform::readWholeFile(rulesFile.sharedRulesFile()), text);
    EXPECT_TRUE(log->contains("ContentFilter", LogLevel::Debug,
                              "Règles exportées vers " + rulesFile.rulesFile().string()));
}

TEST_F(ContentRulesExportTest, EmptyListRemovesEveryPlatformSection) {
    ASSERT_TRUE(rulesFile.writeRules(
        Json{{"instagram", {{"insta_reels", true}}}, {"_redList", {{"sites", Json::array()}}}}));
    ContentRulesModel::exportRules({}, rulesFile);
    EXPECT_EQ(rulesFile.readRules(), (Json{{"_redList", {{"sites", Json::array()}}}}));
}

TEST_F(ContentRulesExportTest, FailedWriteIsReportedAndNotCopied) {
    fs::create_directory(rulesFile.rulesFile());
    ContentRulesModel::exportRules({set(Platform::facebook, {{"fb_feed", true}})}, rulesFile);
    const auto lines = log->lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const auto& line) {
        return line.category == "ContentFilter" && line.level == LogLevel::Error &&
               line.text.starts_with("⚠️ Erreur export règles: Impossible de remplacer");
    }));
    EXPECT_FALSE(fs::exists(rulesFile.sharedRulesFile()));
    EXPECT_FALSE(log->contains("rules.json synchronisé vers Group Container"));
    for (const auto& line : lines) {
        EXPECT_FALSE(line.text.starts_with("Règles exportées vers")) << line.text;
    }
}

}  // namespace
}  // namespace olvane

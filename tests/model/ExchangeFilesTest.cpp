#include <gtest/gtest.h>

#include "model/exchange/ExchangeFiles.h"
#include "model/exchange/RulesFileFormat.h"
#include "platform/FileIO.h"
#include "support/TempHome.h"

namespace olvane::exchange {
namespace {

TEST(ExchangeFiles, CommandsNeedAnActionStringAndANumericTimestamp) {
    EXPECT_FALSE(GrayscaleCommand::fromJson(Json::object()));
    EXPECT_FALSE(GrayscaleCommand::fromJson({{"action", "disable"}, {"timestamp", "1"}}));
    EXPECT_FALSE(GrayscaleCommand::fromJson({{"action", 1}, {"timestamp", 1}}));
    const auto command = GrayscaleCommand::fromJson({{"action", "pause"}, {"timestamp", 10.5}});
    ASSERT_TRUE(command);
    EXPECT_EQ(command->domain, "");
    EXPECT_TRUE(command->isFresh(12.4));
    EXPECT_FALSE(command->isFresh(12.5));

    EXPECT_EQ(FullscreenCommand::forState(true, 1).action, "fullscreen_start");
    EXPECT_EQ(FullscreenCommand::forState(false, 1).toJson(),
              (Json{{"action", "fullscreen_end"}, {"timestamp", 1}}));
}

TEST(ExchangeFiles, SiteAndHealthFilesNeedOnlyATimestamp) {
    const auto site = SiteContext::fromJson({{"timestamp", 3}, {"domain", 7}});
    ASSERT_TRUE(site);
    EXPECT_EQ(site->domain, "");
    EXPECT_FALSE(SiteContext::fromJson({{"domain", "youtube.com"}}));
    EXPECT_FALSE(HealthRecord::fromJson(Json::array()));
    EXPECT_EQ(HealthRecord::fromJson({{"timestamp", 2}})->timestamp, 2);
    EXPECT_EQ(siteFileName("chrome"), "chrome-site.json");
    EXPECT_EQ(healthFileName("firefox"), "firefox-health.json");
}

TEST(ExchangeFiles, WritesInPlaceAndReadsBackObjectsOnly) {
    test::TempHome home;
    const auto path = home.root() / kGrayscaleCommandFile;
    ASSERT_TRUE(writeExchangeFile(path, GrayscaleCommand{"disable", "x.com", 5}.toJson()));
    EXPECT_EQ(GrayscaleCommand::fromJson(*readJsonObject(path))->domain, "x.com");
    ASSERT_TRUE(platform::writeFileInPlace(path, "[]"));
    EXPECT_FALSE(readJsonObject(path));
    EXPECT_FALSE(readJsonObject(home.root() / "missing.json"));
    const std::string tooLong = R"({"a": ")" + std::string(kMaxExchangeFileBytes, 'x') + R"("})";
    ASSERT_TRUE(platform::writeFileInPlace(path, tooLong));
    EXPECT_FALSE(readJsonObject(path));
}

TEST(RulesFileFormat, ReadsTheSectionsTolerantlyAndSplitsContentRules) {
    const auto rules = *json::parse(R"({
        "youtube": {"yt_shorts": true},
        "_grayscale": {"allowedSites": ["wikipedia.org", 3, "=docs.rs"]},
        "_redList": {"sites": [
            {"domain": "youtube.com", "displayName": "YouTube", "delay": true, "delaySeconds": 30},
            "odd",
            {"domain": "x.com", "delaySeconds": 2.5, "customTurtleMouseFactor": 0.3}]}
    })");
    EXPECT_EQ(allowedSites(rules), (std::vector<std::string>{"wikipedia.org", "=docs.rs"}));
    const auto sites = redListSites(rules);
    ASSERT_EQ(sites.size(), 2u);
    EXPECT_TRUE(sites[0].delay);
    EXPECT_EQ(sites[0].delaySeconds, 30);
    EXPECT_EQ(sites[1].delaySeconds, 0);  // not an integer
    EXPECT_EQ(sites[1].customTurtleMouseFactor, 0.3);
    EXPECT_EQ(contentRules(rules), (Json{{"youtube", {{"yt_shorts", true}}}}));

    const auto entry = sites[1].toJson();
    EXPECT_TRUE(entry.contains("customTurtleMouseFactor"));
    EXPECT_FALSE(entry.contains("customTurtleScrollFactor"));
    EXPECT_EQ(redListSection({}), (Json{{"sites", Json::array()}}));
}

}  // namespace
}  // namespace olvane::exchange

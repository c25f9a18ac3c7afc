#include <gtest/gtest.h>

#include <limits>

#include "model/RedListExport.h"

namespace olvane {
namespace {

RedListConfig website(std::string site, std::string name = "Site") {
    RedListConfig target;
    target.id = Uuid::random();
    target.targetType = FrictionTargetType::website;
    target.targetIdentifier = std::move(site);
    target.targetDisplayName = std::move(name);
    return target;
}

std::vector<std::string> domains(const Json& section) {
    std::vector<std::string> out;
    for (const auto& entry : section.at("sites")) {
        out.push_back(entry.at("domain").get<std::string>());
    }
    return out;
}

TEST(RedListExport, KeepsWebsitesWithAHostMostSpecificFirst) {
    RedListConfig app = website("org.mozilla.firefox");
    app.targetType = FrictionTargetType::app;
    const std::vector<RedListConfig> targets = {
        website("site.test"), app,         website("other.test"),      website("=site.test"),
        website("="),         website(""), website("site.test/watch"),
    };
    EXPECT_EQ(
        domains(RedListExport::section(targets)),
        (std::vector<std::string>{"=site.test", "site.test/watch", "site.test", "other.test"}));
    EXPECT_EQ(RedListExport::section({}), (Json{{"sites", Json::array()}}));
}

TEST(RedListExport, EntryCarriesTurtleAndDelayButNoFog) {
    RedListConfig plain = website("site.test", "Site test");
    plain.isFogEnabled = true;
    plain.delayDuration = DelayDuration::preset1min();
    EXPECT_EQ(RedListExport::siteEntry(plain).toJson(), (Json{{"domain", "site.test"},
                                                              {"displayName", "Site test"},
                                                              {"turtle", false},
                                                              {"turtleIntensity", "medium"},
                                                              {"delay", false},
                                                              {"delaySeconds", 60}}));

    RedListConfig custom = website("=site.test");
    custom.isTurtleEnabled = true;
    custom.turtleIntensity = TurtleIntensity::custom;
    custom.isDelayEnabled = true;
    custom.delayDuration = DelayDuration::custom(90);
    custom.customTurtleMouseFactor = 0.25;
    custom.customTurtleScrollFactor = std::numeric_limits<double>::quiet_NaN();
    const Json entry = RedListExport::siteEntry(custom).toJson();
    EXPECT_EQ(entry.at("delaySeconds"), 90);
    EXPECT_EQ(entry.at("turtleIntensity"), "custom");
    EXPECT_EQ(entry.at("customTurtleMouseFactor"), 0.25);
    EXPECT_FALSE(entry.contains("customTurtleScrollFactor"));

    custom.delayDuration = DelayDuration::preset1h();
    EXPECT_EQ(RedListExport::siteEntry(custom).delaySeconds, 3600);
}

}  // namespace
}  // namespace olvane

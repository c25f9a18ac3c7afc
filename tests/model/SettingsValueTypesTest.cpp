#include <gtest/gtest.h>

#include "model/BrowserType.h"
#include "model/ContentRule.h"
#include "model/DelayDuration.h"
#include "model/FogIntensity.h"
#include "model/FrictionEffectType.h"
#include "model/FrictionTargetType.h"
#include "model/Platform.h"
#include "model/TurtleIntensity.h"
#include "model/UserSettings.h"
#include "model/Uuid.h"

namespace olvane {
namespace {

template <typename E>
std::vector<std::string> rawValuesOfAllCases() {
    std::vector<std::string> names;
    for (const auto value : allCases<E>()) {
        names.emplace_back(rawValue(value));
    }
    return names;
}

using Names = std::vector<std::string>;

TEST(RawValueEnums, AllCasesInDeclarationOrderAndExactRawValues) {
    EXPECT_EQ(rawValuesOfAllCases<FrictionEffectType>(), (Names{"fog", "turtle", "delay"}));
    EXPECT_EQ(rawValuesOfAllCases<FogIntensity>(),
              (Names{"light", "medium", "strong", "intense", "custom"}));
    EXPECT_EQ(rawValuesOfAllCases<TurtleIntensity>(),
              (Names{"light", "medium", "strong", "extreme", "custom"}));
    EXPECT_EQ(rawValuesOfAllCases<Platform>(),
              (Names{"youtube", "instagram", "linkedin", "facebook"}));
    EXPECT_EQ(rawValuesOfAllCases<BrowserType>(), (Names{"firefox", "safari", "chrome"}));
    EXPECT_EQ(rawValue(FrictionTargetType::website), "website");
    EXPECT_EQ(fromRawValue<FrictionTargetType>("app"), FrictionTargetType::app);

    for (const auto* text : {"Firefox", "edge", "", "firefox "}) {
        EXPECT_FALSE(fromRawValue<BrowserType>(text)) << text;
    }
    EXPECT_EQ(fromRawValue<BrowserType>("chrome"), BrowserType::chrome);
    EXPECT_FALSE(fromRawValue<FogIntensity>("extreme"));
    EXPECT_FALSE(fromRawValue<TurtleIntensity>("intense"));
}

TEST(BrowserType, BundleIdentifiersAndDisplayNames) {
    EXPECT_EQ(bundleIdentifier(BrowserType::firefox), "org.mozilla.firefox");
    EXPECT_EQ(bundleIdentifier(BrowserType::safari), "com.apple.Safari");
    EXPECT_EQ(bundleIdentifier(BrowserType::chrome), "com.google.Chrome");
    EXPECT_EQ(browserWithBundleIdentifier("com.google.Chrome"), BrowserType::chrome);
    EXPECT_FALSE(browserWithBundleIdentifier("com.google.chrome"));
    EXPECT_EQ(displayName(BrowserType::safari), "Safari");
}

TEST(DelayDuration, SecondsIdentifiersAndEquality) {
    EXPECT_EQ(DelayDuration::presetSeconds, (std::array<std::int64_t, 5>{10, 30, 45, 60, 3600}));
    const std::vector<std::pair<DelayDuration, std::string>> expected{
        {DelayDuration::preset10s(), "10s"},     {DelayDuration::preset30s(), "30s"},
        {DelayDuration::preset45s(), "45s"},     {DelayDuration::preset1min(), "1min"},
        {DelayDuration::preset1h(), "1h"},       {DelayDuration::custom(90), "custom_90"},
        {DelayDuration::custom(-5), "custom_-5"}};
    for (const auto& [duration, id] : expected) {
        EXPECT_EQ(duration.id(), id);
    }
    EXPECT_EQ(DelayDuration::preset1h().seconds(), 3600);
    EXPECT_EQ(DelayDuration::custom(60).seconds(), 60);
    EXPECT_EQ(DelayDuration::custom(60).id(), "custom_60");
    EXPECT_NE(DelayDuration::custom(60), DelayDuration::preset1min());
    EXPECT_NE(DelayDuration::custom(30), DelayDuration::preset30s());
    EXPECT_EQ(DelayDuration::custom(30), DelayDuration::custom(30));
    EXPECT_NE(DelayDuration::custom(30), DelayDuration::custom(31));
}

TEST(ContentRule, LabelsOfTheCatalogueAndUnknownIdentifiersShownAsThemselves) {
    EXPECT_EQ(ContentRule::displayLabel("fb_feed"), "Masquer le fil d'actualité");
    EXPECT_EQ(ContentRule::displayLabel("linkedin_feed"), "Masquer le fil d'actualité");
    EXPECT_EQ(ContentRule::displayLabel("yt_endscreen"),
              "Masquer les recommandations de fin de vidéo");
    EXPECT_EQ(ContentRule::displayLabel("linkedin_limit"),
              "Limiter le fil d'actualité aux 2 premiers posts");
    EXPECT_EQ(ContentRule::displayLabel("tt_foryou"), "tt_foryou");
    EXPECT_EQ(ContentRule::displayLabel(""), "");
    // Every rule of the default catalogue has a label of its own.
    for (const auto& platform : UserSettings::defaultContentFilterRules()) {
        for (const auto& rule : platform.rules) {
            EXPECT_NE(ContentRule::displayLabel(rule.id), rule.id);
        }
    }
}

TEST(UserSettings, DefaultCatalogueHasFourPlatformsEverythingOff) {
    const auto catalogue = UserSettings::defaultContentFilterRules();
    ASSERT_EQ(catalogue.size(), 4u);
    EXPECT_EQ(catalogue[0].id(), "youtube");
    EXPECT_EQ(catalogue[3].id(), "facebook");
    std::vector<std::size_t> sizes;
    for (const auto& platform : catalogue) {
        EXPECT_FALSE(platform.isEnabled);
        sizes.push_back(platform.rules.size());
        for (const auto& rule : platform.rules) {
            EXPECT_FALSE(rule.isEnabled);
        }
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{5, 3, 3, 1}));
    EXPECT_EQ(catalogue[2].rules[0].id, "linkedin_limit");
}

TEST(UserSettings, HasActiveWebFeatures) {
    UserSettings settings;
    EXPECT_FALSE(settings.hasActiveWebFeatures());

    // A rule on counts even while its platform's own switch is off.
    settings.contentFilterRules[0].rules[1].isEnabled = true;
    EXPECT_TRUE(settings.hasActiveWebFeatures());
    settings.contentFilterRules[0].rules[1].isEnabled = false;

    RedListConfig site;
    site.targetType = FrictionTargetType::website;
    settings.redListConfigs.push_back(site);
    settings.grayscaleAllowedSites = {"youtube.com"};
    EXPECT_FALSE(settings.hasActiveWebFeatures());  // every effect off, grayscale not wanted

    settings.userWantsGrayscaleEnabled = true;
    EXPECT_TRUE(settings.hasActiveWebFeatures());
    settings.userWantsGrayscaleEnabled = false;

    settings.redListConfigs[0].isDelayEnabled = true;
    EXPECT_TRUE(settings.hasActiveWebFeatures());
    settings.redListConfigs[0].targetType = FrictionTargetType::app;
    EXPECT_FALSE(settings.hasActiveWebFeatures());  // applications need no extension
}

TEST(Uuid, ParsesEitherCaseWritesUpperCaseRefusesOtherText) {
    const auto lower = Uuid::parse("0f8fad5b-d9cb-469f-a165-70867728950e");
    const auto upper = Uuid::parse("0F8FAD5B-D9CB-469F-A165-70867728950E");
    ASSERT_TRUE(lower && upper);
    EXPECT_EQ(*lower, *upper);
    EXPECT_EQ(lower->string(), "0F8FAD5B-D9CB-469F-A165-70867728950E");
    for (const auto* text :
         {"", "0f8fad5bd9cb469fa16570867728950e", "{0f8fad5b-d9cb-469f-a165-70867728950e}",
          "0f8fad5b-d9cb-469f-a165-70867728950", "0f8fad5b-d9cb-469f-a165-70867728950g",
          "0f8fad5b-d9cb-469f-a165_70867728950e", " 0f8fad5b-d9cb-469f-a165-70867728950e"}) {
        EXPECT_FALSE(Uuid::parse(text)) << text;
    }
    const auto a = Uuid::random();
    const auto b = Uuid::random();
    EXPECT_NE(a, b);
    EXPECT_EQ(a.string()[14], '4');
    EXPECT_EQ(Uuid::parse(a.string()), a);
}

}  // namespace
}  // namespace olvane

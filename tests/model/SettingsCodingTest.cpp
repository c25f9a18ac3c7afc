#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/LastKnownState.h"
#include "model/UserSettings.h"
#include "platform/sim/CaptureLogSink.h"

namespace olvane {
namespace {

using platform::LogLevel;
using platform::sim::ScopedLogCapture;

const char* const kId = "0f8fad5b-d9cb-469f-a165-70867728950e";

Json minimalTarget() {
    return {{"id", kId},
            {"targetType", "website"},
            {"targetIdentifier", "youtube.com"},
            {"targetDisplayName", "YouTube"}};
}

template <typename T>
Json written(const T& value) {
    JsonWriter out;
    value.writeJson(out);
    return *json::parse(out.text());
}

Decoded<UserSettings> decodeSettings(std::string_view text) {
    return UserSettings::fromJson(*json::parse(text));
}

TEST(UserSettingsCoding, MissingOrNullKeysTakeTheirDefaults) {
    const auto empty = decodeSettings("{}");
    ASSERT_TRUE(empty) << empty.error();
    EXPECT_EQ(*empty, UserSettings{});
    EXPECT_EQ(empty->schemaVersion, 1);
    EXPECT_TRUE(empty->showMenuBarIcon);
    EXPECT_EQ(empty->contentFilterRules, UserSettings::defaultContentFilterRules());

    EXPECT_TRUE(decodeSettings(R"({"showMenuBarIcon": null})")->showMenuBarIcon);
    EXPECT_FALSE(decodeSettings(R"({"showMenuBarIcon": false})")->showMenuBarIcon);
    EXPECT_EQ(decodeSettings(R"({"contentFilterRules": null})")->contentFilterRules,
              UserSettings::defaultContentFilterRules());
    // Keys we do not know are ignored; 1.0 is a whole number.
    const auto extra = decodeSettings(R"({"futureKey": [1, 2], "onboardingVersion": 3.0})");
    ASSERT_TRUE(extra) << extra.error();
    EXPECT_EQ(extra->onboardingVersion, 3);
}

TEST(UserSettingsCoding, PresentContentRulesAreTakenWholeNotMerged) {
    const auto decoded = decodeSettings(
        R"({"contentFilterRules": [{"platform": "facebook", "isEnabled": true,
             "rules": [{"id": "fb_feed", "isEnabled": true}]}]})");
    ASSERT_TRUE(decoded) << decoded.error();
    ASSERT_EQ(decoded->contentFilterRules.size(), 1u);
    EXPECT_EQ(decoded->contentFilterRules[0].platform, Platform::facebook);
    EXPECT_TRUE(decoded->contentFilterRules[0].rules[0].isEnabled);
}

TEST(UserSettingsCoding, AWrongTypeOrUnknownRawValueAnywhereFailsTheWholeBlob) {
    auto noType = minimalTarget();
    noType.erase("targetType");
    auto badFog = minimalTarget();
    badFog["fogIntensity"] = "extreme";
    auto nullName = minimalTarget();
    nullName["targetDisplayName"] = nullptr;
    auto lowerNoDashes = minimalTarget();
    lowerNoDashes["id"] = "0f8fad5bd9cb469fa16570867728950e";
    auto fractionalSeconds = minimalTarget();
    fractionalSeconds["delayDuration"] = {{"type", "custom"}, {"customSeconds", 1.5}};

    const std::vector<std::pair<Json, std::string>> cases{
        {{{"schemaVersion", "1"}}, "« schemaVersion » : nombre entier attendu"},
        {{{"launchAtLogin", 1}}, "« launchAtLogin » : booléen attendu"},
        {{{"grayscaleAllowedApps", {"a", 2}}}, "« grayscaleAllowedApps[1] » : texte attendu"},
        {{{"redListConfigs", {noType}}}, "« redListConfigs[0].targetType » : clé absente"},
        {{{"redListConfigs", {badFog}}},
         "« redListConfigs[0].fogIntensity » : valeur inconnue « extreme »"},
        {{{"redListConfigs", {nullName}}},
         "« redListConfigs[0].targetDisplayName » : texte attendu"},
        {{{"redListConfigs", {lowerNoDashes}}},
         "« redListConfigs[0].id » : identifiant invalide « 0f8fad5bd9cb469fa16570867728950e »"},
        {{{"redListConfigs", {fractionalSeconds}}},
         "« redListConfigs[0].delayDuration.customSeconds » : nombre entier attendu"},
        {{{"contentFilterRules", {{{"platform", "tiktok"}, {"isEnabled", true}, {"rules", {}}}}}},
         "« contentFilterRules[0].platform » : valeur inconnue « tiktok »"},
        {{{"onboardingVersion", 9223372036854775808.0}},
         "« onboardingVersion » : nombre entier attendu"},
        {{{"onboardingVersion", 18446744073709551615u}},
         "« onboardingVersion » : entier hors limites"},
        {{{"delayAccessConfigs", Json::object()}}, "« delayAccessConfigs » : liste attendue"},
        {Json::array(), "objet attendu"},
    };
    for (const auto& [input, error] : cases) {
        const auto decoded = UserSettings::fromJson(input);
        EXPECT_FALSE(decoded) << input.dump();
        EXPECT_EQ(decoded.error().text(), error) << input.dump();
    }
    // The strict types have no defaults at all.
    EXPECT_FALSE(ContentRule::fromJson(Json{{"id", "yt_home"}}));
    EXPECT_FALSE(PlatformRules::fromJson(Json{{"platform", "youtube"}, {"isEnabled", false}}));
    EXPECT_FALSE(DelayAccessConfig::fromJson(minimalTarget()));
}

TEST(RedListConfigCoding, MinimalTargetTakesDefaultsAndReEncodesToTenKeys) {
    const auto decoded = RedListConfig::fromJson(minimalTarget());
    ASSERT_TRUE(decoded) << decoded.error();
    EXPECT_FALSE(decoded->isFogEnabled);
    EXPECT_EQ(decoded->fogIntensity, FogIntensity::medium);
    EXPECT_FALSE(decoded->isTurtleEnabled);
    EXPECT_EQ(decoded->turtleIntensity, TurtleIntensity::medium);
    EXPECT_FALSE(decoded->isDelayEnabled);
    EXPECT_EQ(decoded->delayDuration, DelayDuration::preset30s());
    EXPECT_FALSE(decoded->customFogOpacity);

    const auto encoded = written(*decoded);
    EXPECT_EQ(encoded.size(), 10u);
    EXPECT_EQ(encoded["id"], "0F8FAD5B-D9CB-469F-A165-70867728950E");
    EXPECT_EQ(encoded["delayDuration"], (Json{{"type", "preset30s"}}));

    auto withNulls = minimalTarget();
    withNulls["customFogOpacity"] = nullptr;
    withNulls["isFogEnabled"] = nullptr;
    EXPECT_EQ(*RedListConfig::fromJson(withNulls), *decoded);
}

TEST(DelayDurationCoding, TypeTagAndCustomSeconds) {
    EXPECT_EQ(*DelayDuration::fromJson(Json{{"type", "preset1h"}, {"customSeconds", 5}}),
              DelayDuration::preset1h());
    EXPECT_EQ(*DelayDuration::fromJson(Json{{"type", "custom"}, {"customSeconds", 90}}),
              DelayDuration::custom(90));
    EXPECT_FALSE(DelayDuration::fromJson(Json{{"type", "custom"}}));
    EXPECT_FALSE(DelayDuration::fromJson(Json{{"type", "preset2h"}}));
    EXPECT_FALSE(DelayDuration::fromJson(Json{{"customSeconds", 5}}));
    EXPECT_EQ(written(DelayDuration::custom(90)),
              (Json{{"type", "custom"}, {"customSeconds", 90}}));
    EXPECT_EQ(written(DelayDuration::preset45s()), (Json{{"type", "preset45s"}}));
}

UserSettings busySettings() {
    UserSettings settings;
    settings.schemaVersion = 1;
    settings.launchAtLogin = true;
    settings.grayscaleAllowedApps = {"org.gnome.Terminal"};
    settings.grayscaleAllowedSites = {"=docs.example.org/path"};
    settings.contentFilterRules[1].isEnabled = true;
    settings.contentFilterRules[1].rules[2].isEnabled = true;
    RedListConfig target = *RedListConfig::fromJson(minimalTarget());
    target.isTurtleEnabled = true;
    target.turtleIntensity = TurtleIntensity::custom;
    target.customTurtleMouseFactor = 12.5;
    target.customFogOpacity = 0.1;
    target.delayDuration = DelayDuration::custom(86400);
    settings.redListConfigs = {target};
    settings.delayAccessConfigs = {{Uuid::random(), FrictionTargetType::app, "org.gnome.Nautilus",
                                    "Fichiers", DelayDuration::preset10s(), true}};
    settings.onboardingVersion = 2;
    settings.extensionEverDetected = true;
    return settings;
}

TEST(UserSettingsCoding, EveryKeyIsWrittenAndReadBack) {
    const auto settings = busySettings();
    EXPECT_EQ(written(settings).size(), 14u);
    const auto decoded = decodeSettings(settings.jsonText());
    ASSERT_TRUE(decoded) << decoded.error();
    EXPECT_EQ(*decoded, settings);
}

TEST(UserSettingsCoding, TextIsWhatTheJsonLibraryWritesForTheSameValue) {
    auto odd = busySettings();
    odd.schemaVersion = std::numeric_limits<std::int64_t>::min();
    odd.onboardingVersion = std::numeric_limits<std::int64_t>::max();
    odd.grayscaleAllowedApps = {"", "\"q\" \\ / \b\f\n\r\t \x01\x1f\x7f", "Télé 🎬",
                                "\xff\xfe cut \xc3", std::string("nul \0 inside", 13)};
    auto target = odd.redListConfigs[0];
    target.targetDisplayName = "Vidéo \"longue\"";
    const double numbers[] = {0.1, 1.0, -0.0, 1e15, 1e16, 1e-5, 5e-324, 1.7976931348623157e308};
    for (const double number : numbers) {
        target.customFogClearRadius = number;
        target.customFogOpacity = -number;
        target.customFogRegenerationDuration = number / 3;
        odd.redListConfigs.push_back(target);
    }
    auto legacy = odd.delayAccessConfigs[0];
    legacy.delayDuration = DelayDuration::custom(-7);
    odd.delayAccessConfigs.push_back(legacy);

    for (const auto& settings : {UserSettings{}, busySettings(), odd}) {
        const auto text = settings.jsonText();
        const auto parsed = json::parse(text);
        ASSERT_TRUE(parsed) << text;
        // Keys in byte order, numbers and escapes as the library writes them: it writes what it
        // read back as the same text.
        EXPECT_EQ(json::dumpCompact(*parsed), text);
    }
}

TEST(RedListConfigCoding, NonFiniteCustomValueIsLeftOutAndLoggedTheRestSaves) {
    ScopedLogCapture capture;
    auto settings = busySettings();
    settings.redListConfigs[0].customFogClearRadius = std::numeric_limits<double>::quiet_NaN();
    settings.redListConfigs[0].customTurtleScrollFactor = -std::numeric_limits<double>::infinity();

    const auto encoded = written(settings.redListConfigs[0]);
    EXPECT_FALSE(encoded.contains("customFogClearRadius"));
    EXPECT_FALSE(encoded.contains("customTurtleScrollFactor"));
    EXPECT_EQ(encoded["customTurtleMouseFactor"], 12.5);

    const auto texts = capture->texts("Settings");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0],
              "⚠️ Valeur personnalisée invalide non enregistrée: customFogClearRadius de « "
              "YouTube »");
    EXPECT_TRUE(capture->contains("Settings", LogLevel::Error, texts[1]));

    const auto decoded = decodeSettings(settings.jsonText());
    ASSERT_TRUE(decoded) << decoded.error();
    EXPECT_FALSE(decoded->redListConfigs[0].customFogClearRadius);
    EXPECT_EQ(decoded->redListConfigs[0].customTurtleMouseFactor, 12.5);
    EXPECT_TRUE(decoded->launchAtLogin);
}

TEST(LastKnownStateCoding, AllKeysRequiredDateAsReferenceSeconds) {
    const LastKnownState state{789'000'000.25, true, {"fog", "turtle"}};
    const auto encoded = state.toJson();
    EXPECT_EQ(encoded["timestamp"], 789'000'000.25);
    EXPECT_EQ(*LastKnownState::fromJson(encoded), state);
    auto missing = encoded;
    missing.erase("activeEffects");
    EXPECT_FALSE(LastKnownState::fromJson(missing));
    EXPECT_FALSE(LastKnownState::fromJson(Json{{"timestamp", "x"}}));
}

}  // namespace
}  // namespace olvane

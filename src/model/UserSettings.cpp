#include "model/UserSettings.h"

#include <algorithm>

#include "model/KeyedDecoder.h"

namespace olvane {
namespace {

PlatformRules allOff(Platform platform, std::initializer_list<const char*> ruleIds) {
    PlatformRules rules{platform, false, {}};
    for (const char* id : ruleIds) {
        rules.rules.push_back({id, false});
    }
    return rules;
}

}  // namespace

std::vector<PlatformRules> UserSettings::defaultContentFilterRules() {
    // Every default settings value starts from these: built once, copied after.
    static const std::vector<PlatformRules> rules{
        allOff(Platform::youtube,
               {"yt_home", "yt_shorts", "yt_recommendations", "yt_endscreen", "yt_comments"}),
        allOff(Platform::instagram, {"insta_feed", "insta_explore", "insta_reels"}),
        allOff(Platform::linkedin, {"linkedin_limit", "linkedin_feed", "linkedin_news"}),
        allOff(Platform::facebook, {"fb_feed"}),
    };
    return rules;
}

bool UserSettings::hasActiveWebFeatures() const {
    const bool someRuleOn = std::ranges::any_of(contentFilterRules, [](const PlatformRules& p) {
        return std::ranges::any_of(p.rules, &ContentRule::isEnabled);
    });
    const bool someSiteEffectOn = std::ranges::any_of(redListConfigs, [](const RedListConfig& c) {
        return c.targetType == FrictionTargetType::website && c.hasAnyEffect();
    });
    const bool grayscaleSites = userWantsGrayscaleEnabled && !grayscaleAllowedSites.empty();
    return someRuleOn || someSiteEffectOn || grayscaleSites;
}

void UserSettings::writeJson(JsonWriter& out) const {
    const auto writeOne = [](JsonWriter& w, const auto& element) { element.writeJson(w); };
    const auto writeText = [](JsonWriter& w, const std::string& text) { w.value(text); };
    out.beginObject();
    out.key("contentFilterRules").array(contentFilterRules, writeOne);
    out.key("delayAccessConfigs").array(delayAccessConfigs, writeOne);
    out.member("extensionEverDetected", extensionEverDetected);
    out.key("grayscaleAllowedApps").array(grayscaleAllowedApps, writeText);
    out.key("grayscaleAllowedSites").array(grayscaleAllowedSites, writeText);
    out.member("grayscalePauseOnFullscreenVideo", grayscalePauseOnFullscreenVideo)
        .member("grayscaleWasActiveOnShutdown", grayscaleWasActiveOnShutdown)
        .member("launchAtLogin", launchAtLogin)
        .member("onboardingCompleted", onboardingCompleted)
        .member("onboardingVersion", onboardingVersion);
    out.key("redListConfigs").array(redListConfigs, writeOne);
    out.member("schemaVersion", schemaVersion)
        .member("showMenuBarIcon", showMenuBarIcon)
        .member("userWantsGrayscaleEnabled", userWantsGrayscaleEnabled)
        .endObject();
}

std::string UserSettings::jsonText() const {
    JsonWriter out;
    writeJson(out);
    return std::move(out).text();
}

Decoded<UserSettings> UserSettings::fromJson(const Json& value, const DecodePath& path) {
    UserSettings settings;
    KeyedDecoder decoder(value, path);
    decoder.ifPresent("schemaVersion", settings.schemaVersion)
        .ifPresent("launchAtLogin", settings.launchAtLogin)
        .ifPresent("showMenuBarIcon", settings.showMenuBarIcon)
        .ifPresent("userWantsGrayscaleEnabled", settings.userWantsGrayscaleEnabled)
        .ifPresent("grayscaleWasActiveOnShutdown", settings.grayscaleWasActiveOnShutdown)
        .ifPresent("grayscaleAllowedApps", settings.grayscaleAllowedApps)
        .ifPresent("grayscaleAllowedSites", settings.grayscaleAllowedSites)
        .ifPresent("grayscalePauseOnFullscreenVideo", settings.grayscalePauseOnFullscreenVideo)
        .ifPresent("contentFilterRules", settings.contentFilterRules)
        .ifPresent("redListConfigs", settings.redListConfigs)
        .ifPresent("delayAccessConfigs", settings.delayAccessConfigs)
        .ifPresent("onboardingCompleted", settings.onboardingCompleted)
        .ifPresent("onboardingVersion", settings.onboardingVersion)
        .ifPresent("extensionEverDetected", settings.extensionEverDetected);
    return std::move(decoder).finish(std::move(settings));
}

}  // namespace olvane

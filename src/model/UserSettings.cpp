#include "model/UserSettings.h"

#include <algorithm>

#include "model/KeyedDecoder.h"

namespace olvane {
namespace {

template <typename T>
Json jsonList(const std::vector<T>& values) {
    Json list = Json::array();
    for (const auto& value : values) {
        list.push_back(value.toJson());
    }
    return list;
}

PlatformRules allOff(Platform platform, std::initializer_list<const char*> ruleIds) {
    PlatformRules rules{platform, false, {}};
    for (const char* id : ruleIds) {
        rules.rules.push_back({id, false});
    }
    return rules;
}

}  // namespace

std::vector<PlatformRules> UserSettings::defaultContentFilterRules() {
    return {
        allOff(Platform::youtube,
               {"yt_home", "yt_shorts", "yt_recommendations", "yt_endscreen", "yt_comments"}),
        allOff(Platform::instagram, {"insta_feed", "insta_explore", "insta_reels"}),
        allOff(Platform::linkedin, {"linkedin_limit", "linkedin_feed", "linkedin_news"}),
        allOff(Platform::facebook, {"fb_feed"}),
    };
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

Json UserSettings::toJson() const {
    return {
        {"schemaVersion", schemaVersion},
        {"launchAtLogin", launchAtLogin},
        {"showMenuBarIcon", showMenuBarIcon},
        {"userWantsGrayscaleEnabled", userWantsGrayscaleEnabled},
        {"grayscaleWasActiveOnShutdown", grayscaleWasActiveOnShutdown},
        {"grayscaleAllowedApps", grayscaleAllowedApps},
        {"grayscaleAllowedSites", grayscaleAllowedSites},
        {"grayscalePauseOnFullscreenVideo", grayscalePauseOnFullscreenVideo},
        {"contentFilterRules", jsonList(contentFilterRules)},
        {"redListConfigs", jsonList(redListConfigs)},
        {"delayAccessConfigs", jsonList(delayAccessConfigs)},
        {"onboardingCompleted", onboardingCompleted},
        {"onboardingVersion", onboardingVersion},
        {"extensionEverDetected", extensionEverDetected},
    };
}

Decoded<UserSettings> UserSettings::fromJson(const Json& value, const std::string& path) {
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

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/DecodePath.h"
#include "model/Decoded.h"
#include "model/DelayAccessConfig.h"
#include "model/PlatformRules.h"
#include "model/RedListConfig.h"
#include "platform/Json.h"
#include "platform/JsonWriter.h"

namespace olvane {

// The whole persisted configuration. The default value is what a fresh installation uses.
struct UserSettings {
    static constexpr std::int64_t kCurrentSchemaVersion = 1;

    std::int64_t schemaVersion = kCurrentSchemaVersion;
    bool launchAtLogin = false;
    bool showMenuBarIcon = true;
    // The user's own choice for the grayscale filter.
    bool userWantsGrayscaleEnabled = false;
    bool grayscaleWasActiveOnShutdown = false;
    std::vector<std::string> grayscaleAllowedApps;   // application identifiers
    std::vector<std::string> grayscaleAllowedSites;  // stored site entries
    bool grayscalePauseOnFullscreenVideo = false;
    std::vector<PlatformRules> contentFilterRules = defaultContentFilterRules();
    std::vector<RedListConfig> redListConfigs;          // the friction targets
    std::vector<DelayAccessConfig> delayAccessConfigs;  // legacy, emptied at load
    bool onboardingCompleted = false;
    std::int64_t onboardingVersion = 0;
    // Set once any browser extension was seen connected; never set back.
    bool extensionEverDetected = false;

    bool operator==(const UserSettings&) const = default;

    // The four platforms with their rules, everything off.
    static std::vector<PlatformRules> defaultContentFilterRules();

    // Whether some web feature needs a browser extension: a content rule on (whatever its
    // platform's switch), a website target with an effect on, or grayscale wanted with sites
    // allowed.
    bool hasActiveWebFeatures() const;

    // Every key, nested values in their own forms.
    void writeJson(JsonWriter& out) const;
    // The stored form: compact JSON, keys in byte order.
    std::string jsonText() const;
    // Starts from the defaults; each key present and not null replaces its default, decoded
    // strictly. A present "contentFilterRules" is taken whole, not merged with the catalogue.
    static Decoded<UserSettings> fromJson(const Json& value, const DecodePath& path = {});
};

}  // namespace olvane

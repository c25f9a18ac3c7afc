#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/Json.h"

// The layout of "rules.json": platform sections of content rules, and the application's own
// sections, whose keys begin with "_".
namespace olvane::exchange {

inline constexpr const char* kGrayscaleSection = "_grayscale";
inline constexpr const char* kRedListSection = "_redList";
inline constexpr const char* kAllowedSitesKey = "allowedSites";
inline constexpr const char* kAllowedAppsKey = "allowedApps";
inline constexpr const char* kSitesKey = "sites";

inline constexpr std::array<const char*, 4> kPlatformKeys = {"youtube", "instagram", "linkedin",
                                                             "facebook"};
// Keys of earlier versions, removed at start-up in this order.
inline constexpr std::array<const char*, 6> kLegacyKeys = {"tiktok",  "twitter", "reddit",
                                                           "_turtle", "_fog",    "_delay"};

bool isOwnSection(const std::string& key);

// One website friction target of "_redList".
struct RedListSite {
    std::string domain;
    std::string displayName;
    bool turtle = false;
    std::string turtleIntensity = "medium";
    bool delay = false;
    long long delaySeconds = 0;
    std::optional<double> customTurtleMouseFactor;
    std::optional<double> customTurtleScrollFactor;

    Json toJson() const;
    // Tolerant: missing or mistyped members take the defaults above; nullopt for a non-object.
    static std::optional<RedListSite> fromJson(const Json& entry);
};

// {"sites": [...]}, in the given order.
Json redListSection(const std::vector<RedListSite>& sites);
// The entries of "_redList" → "sites" in a rules object, skipping entries that are not objects.
std::vector<RedListSite> redListSites(const Json& rules);

// {"allowedSites": [...]}.
Json grayscaleSection(const std::vector<std::string>& allowedSites);
// "_grayscale" → "allowedSites" of a rules object (strings only).
std::vector<std::string> allowedSites(const Json& rules);

// Every top-level key that does not begin with "_": what a page applies.
Json contentRules(const Json& rules);

}  // namespace olvane::exchange

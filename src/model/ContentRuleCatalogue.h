#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/Platform.h"
#include "model/PlatformRules.h"

namespace olvane {

// The content rules this version offers, and the identifiers of rules it no longer offers.
class ContentRuleCatalogue {
  public:
    ContentRuleCatalogue() = delete;

    // One rule set per platform, in platform order, everything off.
    static std::vector<PlatformRules> rules();
    // The rule identifiers of `platform` in the order they are shown (the catalogue order).
    static const std::vector<std::string>& ruleDisplayOrder(Platform platform);
    // Rules of earlier versions, dropped from stored rule sets.
    static const std::set<std::string, std::less<>>& legacyRuleIds();
    static bool isRetired(std::string_view ruleId) { return legacyRuleIds().contains(ruleId); }

    // "YouTube", "Instagram", "LinkedIn", "Facebook".
    static std::string_view displayName(Platform platform);
    // The domain whose icon stands for the platform.
    static std::string_view faviconDomain(Platform platform);
};

}  // namespace olvane

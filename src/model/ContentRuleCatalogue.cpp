#include "model/ContentRuleCatalogue.h"

#include <array>

#include "model/UserSettings.h"

namespace olvane {
namespace {

constexpr std::size_t kPlatformCount = allCases<Platform>().size();

constexpr std::array<std::string_view, kPlatformCount> kDisplayNames = {"YouTube", "Instagram",
                                                                        "LinkedIn", "Facebook"};
constexpr std::array<std::string_view, kPlatformCount> kFaviconDomains = {
    "youtube.com", "instagram.com", "linkedin.com", "facebook.com"};

std::size_t indexOf(Platform platform) {
    return static_cast<std::size_t>(platform);
}

}  // namespace

std::vector<PlatformRules> ContentRuleCatalogue::rules() {
    return UserSettings::defaultContentFilterRules();
}

const std::vector<std::string>& ContentRuleCatalogue::ruleDisplayOrder(Platform platform) {
    static const auto orders = [] {
        std::array<std::vector<std::string>, kPlatformCount> byPlatform;
        for (const auto& set : rules()) {
            for (const auto& rule : set.rules) {
                byPlatform[indexOf(set.platform)].push_back(rule.id);
            }
        }
        return byPlatform;
    }();
    return orders[indexOf(platform)];
}

const std::set<std::string, std::less<>>& ContentRuleCatalogue::legacyRuleIds() {
    static const std::set<std::string, std::less<>> ids = {
        "insta_stories",     "tiktok_foryou",
        "tiktok_explore",    "tiktok_lives",
        "tiktok_comments",   "fb_reels",
        "fb_notifications",  "fb_limit",
        "fb_stories",        "fb_messenger_only",
        "twitter_timeline",  "twitter_foryou",
        "twitter_following", "twitter_people_only",
        "twitter_explore",   "twitter_communities",
        "twitter_sidebar",   "reddit_feed",
        "reddit_sidebar",    "reddit_recent_posts",
        "reddit_comments",   "reddit_karma",
        "reddit_popular",    "reddit_all",
        "reddit_explore",
    };
    return ids;
}

std::string_view ContentRuleCatalogue::displayName(Platform platform) {
    return kDisplayNames[indexOf(platform)];
}

std::string_view ContentRuleCatalogue::faviconDomain(Platform platform) {
    return kFaviconDomains[indexOf(platform)];
}

}  // namespace olvane

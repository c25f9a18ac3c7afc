#include "friction/WebsiteTargets.h"

#include <string>

#include "model/SiteNormalizer.h"

namespace olvane {
namespace {

struct SiteParts {
    std::string host;
    std::string path;
    bool exact = false;
};

// The stored form split at its first "/", without its leading "=".
SiteParts partsOf(std::string_view site) {
    SiteParts parts;
    std::string normalized = SiteNormalizer::normalize(site);
    if (normalized.starts_with('=')) {
        parts.exact = true;
        normalized.erase(0, 1);
    }
    const auto slash = normalized.find('/');
    parts.host = normalized.substr(0, slash);
    if (slash != std::string::npos) {
        parts.path = normalized.substr(slash + 1);
    }
    return parts;
}

bool pathMatches(const SiteParts& site, const SiteParts& entry) {
    if (entry.exact) {
        return site.path == entry.path;
    }
    return entry.path.empty() || site.path == entry.path ||
           (site.path.starts_with(entry.path) && site.path.size() > entry.path.size() &&
            site.path[entry.path.size()] == '/');
}

}  // namespace

std::optional<RedListConfig> websiteTargetFor(std::string_view domain,
                                              const std::vector<RedListConfig>& targets) {
    const SiteParts site = partsOf(domain);
    std::vector<RedListConfig> candidates;
    for (const auto& target : targets) {
        if (target.targetType != FrictionTargetType::website) {
            continue;
        }
        const SiteParts entry = partsOf(target.targetIdentifier);
        if (SiteNormalizer::isHostOrSubdomain(site.host, entry.host) && pathMatches(site, entry) &&
            target.hasAnyEffect()) {
            candidates.push_back(target);
        }
    }
    if (candidates.empty()) {
        return std::nullopt;
    }
    return SiteNormalizer::mostSpecificFirst(
               std::move(candidates),
               [](const RedListConfig& target) { return target.targetIdentifier; })
        .front();
}

}  // namespace olvane

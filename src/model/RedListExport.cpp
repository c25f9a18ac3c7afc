#include "model/RedListExport.h"

#include <cmath>

#include "model/SiteNormalizer.h"

namespace olvane {
namespace {

// A number JSON cannot hold would reach the extensions as null.
std::optional<double> finite(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? value : std::nullopt;
}

}  // namespace

std::vector<RedListConfig> RedListExport::exportedTargets(
    const std::vector<RedListConfig>& targets) {
    std::vector<RedListConfig> websites;
    for (const auto& target : targets) {
        if (target.targetType == FrictionTargetType::website &&
            SiteNormalizer::hasHost(target.targetIdentifier)) {
            websites.push_back(target);
        }
    }
    return SiteNormalizer::mostSpecificFirst(
        std::move(websites),
        [](const RedListConfig& target) -> const std::string& { return target.targetIdentifier; });
}

exchange::RedListSite RedListExport::siteEntry(const RedListConfig& target) {
    return exchange::RedListSite{
        .domain = target.targetIdentifier,
        .displayName = target.targetDisplayName,
        .turtle = target.isTurtleEnabled,
        .turtleIntensity = std::string(rawValue(target.turtleIntensity)),
        .delay = target.isDelayEnabled,
        .delaySeconds = target.delayDuration.seconds(),
        .customTurtleMouseFactor = finite(target.customTurtleMouseFactor),
        .customTurtleScrollFactor = finite(target.customTurtleScrollFactor),
    };
}

Json RedListExport::section(const std::vector<RedListConfig>& targets) {
    std::vector<exchange::RedListSite> sites;
    for (const auto& target : exportedTargets(targets)) {
        sites.push_back(siteEntry(target));
    }
    return exchange::redListSection(sites);
}

}  // namespace olvane

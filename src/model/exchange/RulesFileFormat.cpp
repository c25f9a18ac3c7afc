#include "model/exchange/RulesFileFormat.h"

namespace olvane::exchange {

bool isOwnSection(const std::string& key) {
    return !key.empty() && key.front() == '_';
}

Json RedListSite::toJson() const {
    Json entry = {{"domain", domain}, {"displayName", displayName},
                  {"turtle", turtle}, {"turtleIntensity", turtleIntensity},
                  {"delay", delay},   {"delaySeconds", delaySeconds}};
    if (customTurtleMouseFactor) {
        entry["customTurtleMouseFactor"] = *customTurtleMouseFactor;
    }
    if (customTurtleScrollFactor) {
        entry["customTurtleScrollFactor"] = *customTurtleScrollFactor;
    }
    return entry;
}

std::optional<RedListSite> RedListSite::fromJson(const Json& entry) {
    if (!entry.is_object()) {
        return std::nullopt;
    }
    RedListSite site;
    site.domain = json::stringMember(entry, "domain").value_or("");
    site.displayName = json::stringMember(entry, "displayName").value_or("");
    site.turtle = json::boolMember(entry, "turtle").value_or(false);
    site.turtleIntensity = json::stringMember(entry, "turtleIntensity").value_or("medium");
    site.delay = json::boolMember(entry, "delay").value_or(false);
    if (const auto it = entry.find("delaySeconds"); it != entry.end() && it->is_number_integer()) {
        site.delaySeconds = it->get<long long>();
    }
    site.customTurtleMouseFactor = json::numberMember(entry, "customTurtleMouseFactor");
    site.customTurtleScrollFactor = json::numberMember(entry, "customTurtleScrollFactor");
    return site;
}

Json redListSection(const std::vector<RedListSite>& sites) {
    Json list = Json::array();
    for (const auto& site : sites) {
        list.push_back(site.toJson());
    }
    return {{kSitesKey, list}};
}

std::vector<RedListSite> redListSites(const Json& rules) {
    std::vector<RedListSite> sites;
    if (!rules.is_object()) {
        return sites;
    }
    const auto section = rules.find(kRedListSection);
    if (section == rules.end() || !section->is_object()) {
        return sites;
    }
    const auto list = section->find(kSitesKey);
    if (list == section->end() || !list->is_array()) {
        return sites;
    }
    for (const auto& entry : *list) {
        if (auto site = RedListSite::fromJson(entry)) {
            sites.push_back(std::move(*site));
        }
    }
    return sites;
}

Json grayscaleSection(const std::vector<std::string>& sites) {
    return {{kAllowedSitesKey, sites}};
}

std::vector<std::string> allowedSites(const Json& rules) {
    std::vector<std::string> sites;
    if (!rules.is_object()) {
        return sites;
    }
    const auto section = rules.find(kGrayscaleSection);
    if (section == rules.end() || !section->is_object()) {
        return sites;
    }
    const auto list = section->find(kAllowedSitesKey);
    if (list == section->end() || !list->is_array()) {
        return sites;
    }
    for (const auto& entry : *list) {
        if (entry.is_string()) {
            sites.push_back(entry.get<std::string>());
        }
    }
    return sites;
}

Json contentRules(const Json& rules) {
    Json out = Json::object();
    if (!rules.is_object()) {
        return out;
    }
    for (const auto& [key, value] : rules.items()) {
        if (!isOwnSection(key)) {
            out[key] = value;
        }
    }
    return out;
}

}  // namespace olvane::exchange

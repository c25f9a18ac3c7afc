#include "model/ContentRulesModel.h"

#include <set>
#include <string>

#include "model/ContentRuleCatalogue.h"
#include "model/Logger.h"
#include "model/RulesFileService.h"
#include "model/exchange/RulesFileFormat.h"

namespace olvane {

PlatformRules ContentRulesModel::migratePlatformRules(const PlatformRules& stored) {
    PlatformRules migrated{stored.platform, stored.isEnabled, {}};
    std::set<std::string, std::less<>> kept;
    for (const auto& rule : stored.rules) {
        if (!ContentRuleCatalogue::isRetired(rule.id)) {
            migrated.rules.push_back(rule);
            kept.insert(rule.id);
        }
    }
    for (const auto& id : ContentRuleCatalogue::ruleDisplayOrder(stored.platform)) {
        if (!kept.contains(id)) {
            migrated.rules.push_back(ContentRule{id, false});
            Logger::contentFilter().info("Migration: ajout de la règle '%s' pour %s", id,
                                         ContentRuleCatalogue::displayName(stored.platform));
        }
    }
    return migrated;
}

Json ContentRulesModel::platformSections(const std::vector<PlatformRules>& ruleSets) {
    Json sections = Json::object();
    std::set<Platform> seen;
    for (const auto& set : ruleSets) {
        if (!seen.insert(set.platform).second) {
            continue;
        }
        Json enabled = Json::object();
        for (const auto& rule : set.rules) {
            if (rule.isEnabled) {
                enabled[rule.id] = true;
            }
        }
        if (!enabled.empty()) {
            sections[std::string(set.id())] = std::move(enabled);
        }
    }
    return sections;
}

void ContentRulesModel::exportRules(const std::vector<PlatformRules>& ruleSets,
                                    const RulesFileService& rulesFile) {
    const Json sections = platformSections(ruleSets);
    const auto written = rulesFile.rewriteRules([&sections](Json& rules) {
        for (const char* key : exchange::kPlatformKeys) {
            rules.erase(key);
        }
        rules.update(sections);
    });
    if (!written) {
        Logger::contentFilter().logError("Erreur export règles: " + written.description());
        return;
    }
    rulesFile.syncToGroupContainer();
    Logger::contentFilter().debug("Règles exportées vers %s", rulesFile.rulesFile().string());
}

}  // namespace olvane

#include "model/ContentRulesModel.h"

#include <cstdlib>
#include <set>
#include <string>

#include "model/ContentRuleCatalogue.h"
#include "model/Logger.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "model/exchange/RulesFileFormat.h"

namespace olvane {
namespace {

long ruleCount(const std::vector<PlatformRules>& sets) {
    long count = 0;
    for (const auto& set : sets) {
        count += static_cast<long>(set.rules.size());
    }
    return count;
}

}  // namespace

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
            Logger::contentFilter().info(
                "Migration: ajout de la règle '%{public}s' pour %{public}s", id,
                ContentRuleCatalogue::displayName(stored.platform));
        }
    }
    return migrated;
}

std::vector<PlatformRules> ContentRulesModel::migrateRules(std::vector<PlatformRules> stored,
                                                           SettingsManager& settings) {
    std::vector<PlatformRules> migrated;
    migrated.reserve(stored.size());
    for (const auto& set : stored) {
        migrated.push_back(migratePlatformRules(set));
    }
    // Saved whenever the content changed: a retired rule swapped for a new one leaves the count
    // alone, yet must not come back from the store at the next start.
    if (migrated != stored) {
        settings.settings().contentFilterRules = migrated;
        settings.saveSettings();
    }
    if (const long difference = std::labs(ruleCount(migrated) - ruleCount(stored)); difference) {
        Logger::contentFilter().error("Migration: %ld règle(s) ajoutée(s) ou supprimée(s)",
                                      difference);
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

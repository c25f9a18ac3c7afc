#include "app/StartupExports.h"

#include <algorithm>

#include "model/ContentRulesModel.h"
#include "model/Logger.h"
#include "model/RedListExport.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "model/exchange/RulesFileFormat.h"

namespace olvane {

StartupExports::StartupExports(SettingsManager& settings, const RulesFileService& rulesFile)
    : settings_(settings), rulesFile_(rulesFile) {}

void StartupExports::run() {
    cleanLegacyKeys();
    exportRedListConfigAtLaunch();
    exportContentRulesAtLaunch();
}

void StartupExports::cleanLegacyKeys() {
    rulesFile_.cleanLegacyKeys();
}

void StartupExports::exportRedListConfigAtLaunch() {
    const auto& targets = settings_.settings().redListConfigs;
    rulesFile_.updateRules(exchange::kRedListSection, RedListExport::section(targets));

    const auto exported = RedListExport::exportedTargets(targets);
    const auto withEffects = std::ranges::count_if(exported, &RedListConfig::hasAnyEffect);
    frictionLogger().info("Config exportée au démarrage: %ld sites (%ld avec effets actifs)",
                          static_cast<long>(exported.size()), static_cast<long>(withEffects));
}

void StartupExports::exportContentRulesAtLaunch() {
    const auto migrated =
        ContentRulesModel::migrateRules(settings_.settings().contentFilterRules, settings_);
    ContentRulesModel::exportRules(migrated, rulesFile_);

    long active = 0;
    for (const auto& set : migrated) {
        active += static_cast<long>(std::ranges::count_if(set.rules, &ContentRule::isEnabled));
    }
    Logger::contentFilter().info("Règles Assainisseur exportées au démarrage: %ld règles actives",
                                 active);
}

}  // namespace olvane

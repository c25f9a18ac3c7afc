#include "ui/configurateur/RulesFilePublisher.h"

#include "model/ContentRulesModel.h"
#include "model/RedListExport.h"
#include "model/exchange/RulesFileFormat.h"

namespace olvane {

void RulesFilePublisher::exportContentRules(const std::vector<PlatformRules>& ruleSets) {
    ContentRulesModel::exportRules(ruleSets, rulesFile_);
}

void RulesFilePublisher::exportWebsiteTargets(const std::vector<RedListConfig>& targets) {
    rulesFile_.updateRules(exchange::kRedListSection, RedListExport::section(targets));
}

}  // namespace olvane

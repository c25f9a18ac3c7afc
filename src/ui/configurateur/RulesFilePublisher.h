#pragma once

#include "model/RulesFileService.h"
#include "ui/configurateur/RulesPublisher.h"

namespace olvane {

// Publishes as the rest of the program does: the whole file replaced by a rename, then copied
// into the shared container.
class RulesFilePublisher final : public RulesPublisher {
  public:
    explicit RulesFilePublisher(const RulesFileService& rulesFile) : rulesFile_(rulesFile) {}

    void exportContentRules(const std::vector<PlatformRules>& ruleSets) override;
    void exportWebsiteTargets(const std::vector<RedListConfig>& targets) override;

  private:
    const RulesFileService& rulesFile_;
};

}  // namespace olvane

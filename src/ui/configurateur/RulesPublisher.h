#pragma once

#include <vector>

#include "model/PlatformRules.h"
#include "model/RedListConfig.h"

namespace olvane {

// What the activation publishes into the rules file for the browser side. Each call replaces
// its own sections and keeps the others; failures are logged, never returned.
class RulesPublisher {
  public:
    virtual ~RulesPublisher() = default;

    // The platform sections, from every enabled rule.
    virtual void exportContentRules(const std::vector<PlatformRules>& ruleSets) = 0;
    // The "_redList" section, from the website targets among `targets`.
    virtual void exportWebsiteTargets(const std::vector<RedListConfig>& targets) = 0;
};

}  // namespace olvane

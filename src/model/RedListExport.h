#pragma once

#include <vector>

#include "model/RedListConfig.h"
#include "model/exchange/RulesFileFormat.h"
#include "platform/Json.h"

namespace olvane {

// The "_redList" section of the rules file: the website friction targets that the browser
// extensions apply (turtle and delay; fog stays with the application). The start-up export and
// the friction page build it here, so both write the same form in the same order.
class RedListExport {
  public:
    RedListExport() = delete;

    // The website targets, most specific site first, equals in stored order. A target whose
    // site has no host is left out: the extensions would match it against every page or none.
    static std::vector<RedListConfig> exportedTargets(const std::vector<RedListConfig>& targets);
    // One site entry of the section.
    static exchange::RedListSite siteEntry(const RedListConfig& target);
    // {"sites": [...]} for the exported targets of `targets`.
    static Json section(const std::vector<RedListConfig>& targets);
};

}  // namespace olvane

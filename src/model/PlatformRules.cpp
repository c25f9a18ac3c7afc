#include "model/PlatformRules.h"

#include "model/KeyedDecoder.h"

namespace olvane {

Json PlatformRules::toJson() const {
    Json ruleList = Json::array();
    for (const auto& rule : rules) {
        ruleList.push_back(rule.toJson());
    }
    return {{"platform", std::string(rawValue(platform))},
            {"isEnabled", isEnabled},
            {"rules", std::move(ruleList)}};
}

Decoded<PlatformRules> PlatformRules::fromJson(const Json& value, const std::string& path) {
    PlatformRules result;
    KeyedDecoder decoder(value, path);
    decoder.require("platform", result.platform)
        .require("isEnabled", result.isEnabled)
        .require("rules", result.rules);
    return std::move(decoder).finish(std::move(result));
}

}  // namespace olvane

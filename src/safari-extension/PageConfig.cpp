#include "safari-extension/PageConfig.h"

#include <limits>

#include "model/exchange/RulesFileFormat.h"

namespace olvane::safari {
namespace {

// An integer that fits; anything else counts as no delay length.
long long delaySecondsOf(const Json& entry) {
    const auto it = entry.find("delaySeconds");
    if (it == entry.end() || !it->is_number_integer()) {
        return 0;
    }
    if (it->is_number_unsigned() &&
        it->get<unsigned long long>() >
            static_cast<unsigned long long>(std::numeric_limits<long long>::max())) {
        return 0;
    }
    return it->get<long long>();
}

}  // namespace

PageConfig PageConfig::make(const Json& rules, const std::string& domain,
                            const std::optional<Json>& delayEntry) {
    PageConfig config;
    config.rules = exchange::contentRules(rules);
    config.hasDelay = delayEntry.has_value();
    config.delaySeconds = delayEntry ? delaySecondsOf(*delayEntry) : 0;
    config.delayName =
        delayEntry ? json::stringMember(*delayEntry, "displayName").value_or(domain) : domain;
    return config;
}

Json PageConfig::toUserInfo() const {
    return {{"rules", rules},
            {"hasDelay", hasDelay},
            {"delaySeconds", delaySeconds},
            {"delayName", delayName}};
}

}  // namespace olvane::safari

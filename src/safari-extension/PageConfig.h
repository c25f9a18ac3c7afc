#pragma once

#include <optional>
#include <string>

#include "platform/Json.h"

namespace olvane::safari {

// The reply "PAGE_CONFIG": the content rules of a page and the delay to show before it.
struct PageConfig {
    static constexpr const char* kMessageName = "PAGE_CONFIG";

    Json rules = Json::object();
    bool hasDelay = false;
    long long delaySeconds = 0;
    std::string delayName;

    // From the rules object, the page's domain and its matching delay entry, if any.
    static PageConfig make(const Json& rules, const std::string& domain,
                           const std::optional<Json>& delayEntry);
    Json toUserInfo() const;
};

}  // namespace olvane::safari

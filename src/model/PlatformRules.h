#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/ContentRule.h"
#include "model/DecodePath.h"
#include "model/Decoded.h"
#include "model/Platform.h"
#include "platform/Json.h"
#include "platform/JsonWriter.h"

namespace olvane {

// The content rules of one platform with the platform's own switch.
// JSON: {"platform": raw value, "isEnabled": …, "rules": [ContentRule…]}.
struct PlatformRules {
    Platform platform = Platform::youtube;
    bool isEnabled = false;
    std::vector<ContentRule> rules;  // in catalogue order

    bool operator==(const PlatformRules&) const = default;

    // The platform's raw value ("youtube"…).
    std::string_view id() const { return rawValue(platform); }

    void writeJson(JsonWriter& out) const;
    // All three keys required.
    static Decoded<PlatformRules> fromJson(const Json& value, const DecodePath& path = {});
};

}  // namespace olvane

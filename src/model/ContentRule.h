#pragma once

#include <string>
#include <string_view>

#include "model/DecodePath.h"
#include "model/Decoded.h"
#include "platform/Json.h"
#include "platform/JsonWriter.h"

namespace olvane {

// One content rule of a platform, such as "yt_shorts". JSON: {"id": …, "isEnabled": …}.
struct ContentRule {
    std::string id;
    bool isEnabled = false;

    bool operator==(const ContentRule&) const = default;

    // The French label of a rule identifier; an unknown identifier is shown as itself.
    static std::string displayLabel(std::string_view ruleId);

    void writeJson(JsonWriter& out) const;
    // Both keys required.
    static Decoded<ContentRule> fromJson(const Json& value, const DecodePath& path = {});
};

}  // namespace olvane

#include "model/PlatformRules.h"

#include "model/KeyedDecoder.h"

namespace olvane {

void PlatformRules::writeJson(JsonWriter& out) const {
    out.beginObject().member("isEnabled", isEnabled).member("platform", rawValue(platform));
    out.key("rules").array(rules,
                           [](JsonWriter& w, const ContentRule& rule) { rule.writeJson(w); });
    out.endObject();
}

Decoded<PlatformRules> PlatformRules::fromJson(const Json& value, const DecodePath& path) {
    PlatformRules result;
    KeyedDecoder decoder(value, path);
    decoder.require("platform", result.platform)
        .require("isEnabled", result.isEnabled)
        .require("rules", result.rules);
    return std::move(decoder).finish(std::move(result));
}

}  // namespace olvane

#include "model/DelayAccessConfig.h"

#include "model/KeyedDecoder.h"

namespace olvane {

void DelayAccessConfig::writeJson(JsonWriter& out) const {
    out.beginObject().key("delayDuration");
    delayDuration.writeJson(out);
    out.member("id", id.string())
        .member("isEnabled", isEnabled)
        .member("targetDisplayName", targetDisplayName)
        .member("targetIdentifier", targetIdentifier)
        .member("targetType", rawValue(targetType))
        .endObject();
}

Decoded<DelayAccessConfig> DelayAccessConfig::fromJson(const Json& value, const DecodePath& path) {
    DelayAccessConfig config;
    KeyedDecoder decoder(value, path);
    decoder.require("id", config.id)
        .require("targetType", config.targetType)
        .require("targetIdentifier", config.targetIdentifier)
        .require("targetDisplayName", config.targetDisplayName)
        .require("delayDuration", config.delayDuration)
        .require("isEnabled", config.isEnabled);
    return std::move(decoder).finish(std::move(config));
}

}  // namespace olvane

#include "model/DelayAccessConfig.h"

#include "model/KeyedDecoder.h"

namespace olvane {

Json DelayAccessConfig::toJson() const {
    return {
        {"id", id.string()},
        {"targetType", std::string(rawValue(targetType))},
        {"targetIdentifier", targetIdentifier},
        {"targetDisplayName", targetDisplayName},
        {"delayDuration", delayDuration.toJson()},
        {"isEnabled", isEnabled},
    };
}

Decoded<DelayAccessConfig> DelayAccessConfig::fromJson(const Json& value, const std::string& path) {
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

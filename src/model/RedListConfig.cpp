#include "model/RedListConfig.h"

#include <array>
#include <cmath>

#include "model/KeyedDecoder.h"
#include "model/Logger.h"

namespace olvane {
namespace {

struct CustomValue {
    const char* key;
    const std::optional<double>& value;
};

bool isStorable(const CustomValue& custom) {
    return custom.value && std::isfinite(*custom.value);
}

void logIfUnstorable(const CustomValue& custom, const std::string& targetName) {
    if (custom.value && !isStorable(custom)) {
        Logger::settings().logError(
            "Valeur personnalisée invalide non enregistrée",
            platform::ComposedText(custom.key) + " de « " + platform::userData(targetName) + " »");
    }
}

}  // namespace

void RedListConfig::writeJson(JsonWriter& out) const {
    // In the order of the fields, which the log follows.
    const std::array custom{
        CustomValue{"customFogClearRadius", customFogClearRadius},
        CustomValue{"customFogRegenerationDuration", customFogRegenerationDuration},
        CustomValue{"customFogOpacity", customFogOpacity},
        CustomValue{"customTurtleMouseFactor", customTurtleMouseFactor},
        CustomValue{"customTurtleScrollFactor", customTurtleScrollFactor},
    };
    for (const auto& value : custom) {
        logIfUnstorable(value, targetDisplayName);
    }
    out.beginObject();
    // In key order: "customFogOpacity" comes before "customFogRegenerationDuration".
    for (const auto* value : {&custom[0], &custom[2], &custom[1], &custom[3], &custom[4]}) {
        if (isStorable(*value)) {
            out.member(value->key, *value->value);
        }
    }
    out.key("delayDuration");
    delayDuration.writeJson(out);
    out.member("fogIntensity", rawValue(fogIntensity))
        .member("id", id.string())
        .member("isDelayEnabled", isDelayEnabled)
        .member("isFogEnabled", isFogEnabled)
        .member("isTurtleEnabled", isTurtleEnabled)
        .member("targetDisplayName", targetDisplayName)
        .member("targetIdentifier", targetIdentifier)
        .member("targetType", rawValue(targetType))
        .member("turtleIntensity", rawValue(turtleIntensity))
        .endObject();
}

Decoded<RedListConfig> RedListConfig::fromJson(const Json& value, const DecodePath& path) {
    RedListConfig config;
    KeyedDecoder decoder(value, path);
    decoder.require("id", config.id)
        .require("targetType", config.targetType)
        .require("targetIdentifier", config.targetIdentifier)
        .require("targetDisplayName", config.targetDisplayName)
        .ifPresent("isFogEnabled", config.isFogEnabled)
        .ifPresent("fogIntensity", config.fogIntensity)
        .ifPresent("isTurtleEnabled", config.isTurtleEnabled)
        .ifPresent("turtleIntensity", config.turtleIntensity)
        .ifPresent("isDelayEnabled", config.isDelayEnabled)
        .ifPresent("delayDuration", config.delayDuration)
        .ifPresent("customFogClearRadius", config.customFogClearRadius)
        .ifPresent("customFogRegenerationDuration", config.customFogRegenerationDuration)
        .ifPresent("customFogOpacity", config.customFogOpacity)
        .ifPresent("customTurtleMouseFactor", config.customTurtleMouseFactor)
        .ifPresent("customTurtleScrollFactor", config.customTurtleScrollFactor);
    return std::move(decoder).finish(std::move(config));
}

}  // namespace olvane

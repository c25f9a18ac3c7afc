#include "model/RedListConfig.h"

#include <cmath>

#include "model/KeyedDecoder.h"
#include "model/Logger.h"

namespace olvane {
namespace {

void encodeCustomValue(Json& object, const char* key, const std::optional<double>& value,
                       const std::string& targetName) {
    if (!value) {
        return;
    }
    if (!std::isfinite(*value)) {
        Logger::settings().logError(
            "Valeur personnalisée invalide non enregistrée",
            platform::ComposedText(key) + " de « " + platform::userData(targetName) + " »");
        return;
    }
    object[key] = *value;
}

}  // namespace

Json RedListConfig::toJson() const {
    Json object = {
        {"id", id.string()},
        {"targetType", std::string(rawValue(targetType))},
        {"targetIdentifier", targetIdentifier},
        {"targetDisplayName", targetDisplayName},
        {"isFogEnabled", isFogEnabled},
        {"fogIntensity", std::string(rawValue(fogIntensity))},
        {"isTurtleEnabled", isTurtleEnabled},
        {"turtleIntensity", std::string(rawValue(turtleIntensity))},
        {"isDelayEnabled", isDelayEnabled},
        {"delayDuration", delayDuration.toJson()},
    };
    encodeCustomValue(object, "customFogClearRadius", customFogClearRadius, targetDisplayName);
    encodeCustomValue(object, "customFogRegenerationDuration", customFogRegenerationDuration,
                      targetDisplayName);
    encodeCustomValue(object, "customFogOpacity", customFogOpacity, targetDisplayName);
    encodeCustomValue(object, "customTurtleMouseFactor", customTurtleMouseFactor,
                      targetDisplayName);
    encodeCustomValue(object, "customTurtleScrollFactor", customTurtleScrollFactor,
                      targetDisplayName);
    return object;
}

Decoded<RedListConfig> RedListConfig::fromJson(const Json& value, const std::string& path) {
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

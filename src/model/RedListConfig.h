#pragma once

#include <optional>
#include <string>

#include "model/DecodePath.h"
#include "model/Decoded.h"
#include "model/DelayDuration.h"
#include "model/FogIntensity.h"
#include "model/FrictionTargetType.h"
#include "model/TurtleIntensity.h"
#include "model/Uuid.h"
#include "platform/Json.h"
#include "platform/JsonWriter.h"

namespace olvane {

// One friction target: an application or a website with its fog, turtle and delay.
struct RedListConfig {
    Uuid id;
    FrictionTargetType targetType = FrictionTargetType::app;
    // An application identifier, or the stored form of a site entry.
    std::string targetIdentifier;
    std::string targetDisplayName;
    bool isFogEnabled = false;
    FogIntensity fogIntensity = FogIntensity::medium;
    bool isTurtleEnabled = false;
    TurtleIntensity turtleIntensity = TurtleIntensity::medium;
    bool isDelayEnabled = false;
    DelayDuration delayDuration = DelayDuration::preset30s();
    // Absent: none was ever applied, the preset values hold.
    std::optional<double> customFogClearRadius;           // points
    std::optional<double> customFogRegenerationDuration;  // seconds
    std::optional<double> customFogOpacity;
    std::optional<double> customTurtleMouseFactor;
    std::optional<double> customTurtleScrollFactor;

    bool operator==(const RedListConfig&) const = default;

    // Fog, turtle or delay switched on.
    bool hasAnyEffect() const { return isFogEnabled || isTurtleEnabled || isDelayEnabled; }

    // The ten other keys always, each custom value only when present. A custom value that JSON
    // cannot hold (not a number, infinite) is left out and logged, so it never makes the whole
    // settings unsavable.
    void writeJson(JsonWriter& out) const;
    // "id", "targetType", "targetIdentifier" and "targetDisplayName" are required; every other
    // key, when missing or null, keeps its default.
    static Decoded<RedListConfig> fromJson(const Json& value, const DecodePath& path = {});
};

}  // namespace olvane

#include "ui/configurateur/IntensityLevel.h"

namespace olvane {
namespace {

struct LevelEffects {
    FogIntensity fog;
    TurtleIntensity turtle;
    DelayDuration delay;
};

constexpr LevelEffects effectsOf(IntensityLevel level) {
    switch (level) {
        case IntensityLevel::doux:
            return {FogIntensity::light, TurtleIntensity::light, DelayDuration::preset10s()};
        case IntensityLevel::serieux:
            return {FogIntensity::strong, TurtleIntensity::strong, DelayDuration::preset1min()};
        case IntensityLevel::equilibre:
            break;
    }
    return {FogIntensity::medium, TurtleIntensity::medium, DelayDuration::preset30s()};
}

}  // namespace

std::string_view label(IntensityLevel level) {
    switch (level) {
        case IntensityLevel::doux:
            return "Doux";
        case IntensityLevel::equilibre:
            return "Équilibré";
        case IntensityLevel::serieux:
            return "Intense";
    }
    return {};
}

IntensityLevel intensityLevel(const RedListConfig& config) {
    for (const auto level : {IntensityLevel::doux, IntensityLevel::serieux}) {
        const auto effects = effectsOf(level);
        if (config.delayDuration == effects.delay && config.fogIntensity == effects.fog &&
            config.turtleIntensity == effects.turtle) {
            return level;
        }
    }
    return IntensityLevel::equilibre;
}

RedListConfig withLevelEffects(RedListConfig config, IntensityLevel level) {
    const auto effects = effectsOf(level);
    config.isFogEnabled = true;
    config.fogIntensity = effects.fog;
    config.isTurtleEnabled = true;
    config.turtleIntensity = effects.turtle;
    config.isDelayEnabled = true;
    config.delayDuration = effects.delay;
    config.customFogClearRadius.reset();
    config.customFogRegenerationDuration.reset();
    config.customFogOpacity.reset();
    config.customTurtleMouseFactor.reset();
    config.customTurtleScrollFactor.reset();
    return config;
}

}  // namespace olvane

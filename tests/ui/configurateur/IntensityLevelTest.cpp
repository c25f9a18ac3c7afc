#include <gtest/gtest.h>

#include "ui/configurateur/IntensityLevel.h"

namespace olvane {
namespace {

RedListConfig target(FogIntensity fog, TurtleIntensity turtle, DelayDuration delay) {
    RedListConfig config;
    config.fogIntensity = fog;
    config.turtleIntensity = turtle;
    config.delayDuration = delay;
    return config;
}

TEST(IntensityLevel, ReadsOnlyFogTurtleAndDelay) {
    using F = FogIntensity;
    using T = TurtleIntensity;
    using D = DelayDuration;
    struct Case {
        RedListConfig config;
        IntensityLevel level;
    };
    RedListConfig allOffWithCustoms = target(F::light, T::light, D::preset10s());
    allOffWithCustoms.customFogOpacity = 0.9;
    RedListConfig serieuxSwitchedOn = target(F::strong, T::strong, D::preset1min());
    serieuxSwitchedOn.isFogEnabled = serieuxSwitchedOn.isTurtleEnabled = true;
    const Case cases[] = {
        {allOffWithCustoms, IntensityLevel::doux},
        {serieuxSwitchedOn, IntensityLevel::serieux},
        {target(F::medium, T::medium, D::preset30s()), IntensityLevel::equilibre},
        {target(F::intense, T::strong, D::preset1min()), IntensityLevel::equilibre},
        {target(F::strong, T::extreme, D::preset1min()), IntensityLevel::equilibre},
        {target(F::custom, T::light, D::preset10s()), IntensityLevel::equilibre},
        {target(F::light, T::custom, D::preset10s()), IntensityLevel::equilibre},
        {target(F::light, T::light, D::preset45s()), IntensityLevel::equilibre},
        {target(F::strong, T::strong, D::preset1h()), IntensityLevel::equilibre},
        {target(F::strong, T::strong, D::custom(60)), IntensityLevel::equilibre},
        {target(F::light, T::light, D::custom(10)), IntensityLevel::equilibre},
        {target(F::light, T::strong, D::preset10s()), IntensityLevel::equilibre},
    };
    for (const auto& [config, level] : cases) {
        JsonWriter text;
        config.writeJson(text);
        EXPECT_EQ(intensityLevel(config), level) << text.text();
    }
}

TEST(IntensityLevel, RawValuesAndLabelsDiffer) {
    EXPECT_EQ(fromRawValue<IntensityLevel>("serieux"), IntensityLevel::serieux);
    EXPECT_EQ(label(IntensityLevel::serieux), "Intense");
    EXPECT_EQ(fromRawValue<IntensityLevel>("intense"), std::nullopt);
    EXPECT_EQ(label(IntensityLevel::equilibre), "Équilibré");
}

TEST(IntensityLevel, EachLevelGivesItsOwnValuesBack) {
    RedListConfig custom =
        target(FogIntensity::custom, TurtleIntensity::custom, DelayDuration::custom(5));
    custom.customFogClearRadius = 40;
    custom.customTurtleMouseFactor = 0.2;
    for (const auto level : allCases<IntensityLevel>()) {
        const auto config = withLevelEffects(custom, level);
        EXPECT_EQ(intensityLevel(config), level);
        EXPECT_TRUE(config.isFogEnabled && config.isTurtleEnabled && config.isDelayEnabled);
        EXPECT_FALSE(config.customFogClearRadius || config.customTurtleMouseFactor);
    }
    const auto doux = withLevelEffects(custom, IntensityLevel::doux);
    EXPECT_EQ(doux.delayDuration.seconds(), 10);
    EXPECT_EQ(withLevelEffects(custom, IntensityLevel::equilibre).fogIntensity,
              FogIntensity::medium);
}

}  // namespace
}  // namespace olvane

#include <gtest/gtest.h>

#include <cmath>

#include "friction/FogSettings.h"
#include "friction/FogTrail.h"

namespace olvane {
namespace {

using platform::Point;

TEST(FogSettings, MaxTrailPointsShrinksWithLargeHolesAndShortRegenerations) {
    struct Case {
        FogSettings settings;
        std::size_t expected;
    };
    const Case cases[] = {
        {FogSettings::preset(FogIntensity::light), 500},
        {FogSettings::preset(FogIntensity::medium), 2000},
        {FogSettings::preset(FogIntensity::strong), 1000},
        {FogSettings::preset(FogIntensity::intense), 500},
        {FogSettings::preset(FogIntensity::custom), 500},
        {FogSettings::custom(20, 60, 0.5), 4000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.settings.maxTrailPoints(), c.expected) << c.settings.clearRadius;
    }
}

TEST(FogSettings, CustomValuesAreClampedAndNonFiniteTakesTheLowerBound) {
    EXPECT_EQ(FogSettings::custom(10, 100, 2), (FogSettings{20, 60, 1.0}));
    EXPECT_EQ(FogSettings::custom(600, 0.05, 0.001), (FogSettings{500, 0.1, 0.01}));
    EXPECT_EQ(FogSettings::custom(std::nan(""), INFINITY, std::nan("")),
              (FogSettings{20, 0.1, 0.01}));
}

TEST(FogTrail, ALongJumpIsFilledInAtMostAFifthOfTheRadiusApart) {
    // Medium: radius 150, so points at most 30 apart; 100 points away makes n = 3.
    std::vector<TrailPoint> trail{{{0, 0}, 0, 1}};
    fog::appendSample(trail, {100, 0}, 1, 150, 2000);
    ASSERT_EQ(trail.size(), 4u);
    EXPECT_NEAR(trail[1].position.x, 100.0 / 3, 1e-9);
    EXPECT_NEAR(trail[2].position.x, 200.0 / 3, 1e-9);
    EXPECT_EQ(trail[3], (TrailPoint{{100, 0}, 1, 1}));

    // A short move adds only the new point; the oldest go past the cap.
    fog::appendSample(trail, {120, 0}, 2, 150, 3);
    ASSERT_EQ(trail.size(), 3u);
    EXPECT_NEAR(trail.front().position.x, 200.0 / 3, 1e-9);
    EXPECT_EQ(trail.back().position, (Point{120, 0}));

    // A jump much longer than the cap allows keeps only the newest points, evenly spaced.
    fog::appendSample(trail, {10120, 0}, 3, 20, 5);
    ASSERT_EQ(trail.size(), 5u);
    EXPECT_EQ(trail.back().position, (Point{10120, 0}));
    EXPECT_NEAR(trail[3].position.x, 10116, 1e-6);
}

TEST(FogTrail, HolesFadeOverTheRegenerationAndGoAtItsEnd) {
    // Medium: 8 s.
    std::vector<TrailPoint> trail{{{1, 1}, 10, 1}, {{2, 2}, 14, 1}};
    fog::fade(trail, 14, 8);
    ASSERT_EQ(trail.size(), 2u);
    EXPECT_DOUBLE_EQ(trail[0].opacity, 0.5);
    EXPECT_DOUBLE_EQ(trail[1].opacity, 1.0);
    fog::fade(trail, 18, 8);
    ASSERT_EQ(trail.size(), 1u);
    EXPECT_EQ(trail[0].position, (Point{2, 2}));
    EXPECT_DOUBLE_EQ(trail[0].opacity, 0.5);
}

}  // namespace
}  // namespace olvane

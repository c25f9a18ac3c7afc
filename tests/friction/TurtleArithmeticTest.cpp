#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "friction/TurtleArithmetic.h"
#include "friction/TurtleFactors.h"

namespace olvane::turtle {
namespace {

using platform::Point;
using platform::Rect;

TEST(TurtleArithmetic, PointerFractionsWaitUntilTheyMakeAWholePixel) {
    // Factor 8: seven one-pixel moves make nothing, the eighth one step.
    PointerRemainder remainder;
    for (int i = 1; i <= 7; ++i) {
        const auto slowed = slowPointer(remainder, 1, 0, 8);
        EXPECT_FALSE(slowed.moves()) << i;
        remainder = slowed.remainder;
    }
    const auto eighth = slowPointer(remainder, 1, 0, 8);
    EXPECT_EQ(eighth.stepX, 1);
    EXPECT_EQ(eighth.stepY, 0);
    EXPECT_DOUBLE_EQ(eighth.remainder.x, 0);

    // Negative movement truncates toward zero and keeps a negative remainder.
    const auto first = slowPointer({}, -3, 0, 4);
    EXPECT_FALSE(first.moves());
    EXPECT_DOUBLE_EQ(first.remainder.x, -0.75);
    const auto second = slowPointer(first.remainder, -3, 0, 4);
    EXPECT_EQ(second.stepX, -1);
    EXPECT_DOUBLE_EQ(second.remainder.x, -0.5);
}

TEST(TurtleArithmetic, ScrollPostsOnceAnAxisReachesHalfAPixelAndDropsTheRest) {
    struct Case {
        ScrollRemainder before;
        double vertical, horizontal, factor;
        std::optional<std::int32_t> postedVertical, postedHorizontal;
        ScrollRemainder after;
    };
    const Case cases[] = {
        // Below the threshold on both axes: kept.
        {{}, 0.8, 0.4, 2, std::nullopt, std::nullopt, {0.4, 0.2}},
        // Vertical reaches 0.5: one pixel; the horizontal 0.2 is lost.
        {{0.25, 0.2}, 0.5, 0, 2, 1, std::nullopt, {}},
        // Both axes, of opposite signs.
        {{}, -1.2, 1.4, 2, -1, 1, {}},
        // Halves round away from zero.
        {{}, 5, -5, 2, 3, -3, {}},
        {{}, 3, 0, 2, 2, std::nullopt, {}},
    };
    for (const auto& c : cases) {
        const auto slowed = slowScroll(c.before, c.vertical, c.horizontal, c.factor);
        EXPECT_EQ(slowed.vertical, c.postedVertical) << c.vertical;
        EXPECT_EQ(slowed.horizontal, c.postedHorizontal) << c.horizontal;
        EXPECT_DOUBLE_EQ(slowed.remainder.vertical, c.after.vertical);
        EXPECT_DOUBLE_EQ(slowed.remainder.horizontal, c.after.horizontal);
    }
}

TEST(TurtleArithmetic, WheelPixelsSaturateAndNotANumberIsZero) {
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(wheelPixels(1e12), max);
    EXPECT_EQ(wheelPixels(-1e12), min);
    EXPECT_EQ(wheelPixels(std::numeric_limits<double>::infinity()), max);
    EXPECT_EQ(wheelPixels(std::nan("")), 0);
    EXPECT_EQ(wheelPixels(-0.5), -1);
}

TEST(TurtleArithmetic, PositionsStayInsideTheDisplaysMaximaIncluded) {
    const auto bounds = unionOfDisplays({{0, 0, 1440, 900}, {1440, -100, 1920, 1080}});
    ASSERT_TRUE(bounds);
    EXPECT_EQ(*bounds, (Rect{0, -100, 3360, 1080}));
    EXPECT_EQ(clampedToBounds({4000, -300}, bounds), (Point{3360, -100}));
    EXPECT_EQ(clampedToBounds({-5, 980}, bounds), (Point{0, 980}));
    EXPECT_EQ(clampedToBounds({3360, 980}, bounds), (Point{3360, 980}));
    // No display known: the pointer goes where it is sent.
    EXPECT_FALSE(unionOfDisplays({}));
    EXPECT_EQ(clampedToBounds({-40, 5000}, std::nullopt), (Point{-40, 5000}));
}

TEST(TurtleFactors, CustomFactorsAreClampedAndNonFiniteTakesTheLowerBound) {
    struct Case {
        double mouse, scroll;
        TurtleFactors expected;
    };
    const Case cases[] = {
        {1.0, 50.0, {2.0, 10.0}},
        {40.0, 1.0, {30.0, 1.5}},
        {6.0, 3.0, {6.0, 3.0}},
        {std::nan(""), std::numeric_limits<double>::infinity(), {2.0, 1.5}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TurtleFactors::custom(c.mouse, c.scroll), c.expected) << c.mouse;
    }
}

}  // namespace
}  // namespace olvane::turtle

#include <gtest/gtest.h>

#include "platform/linux/CtmMatrix.h"

namespace olvane::platform::os {
namespace {

TEST(CtmMatrixTest, EncodesSignMagnitudeFixedPointLowWordFirst) {
    struct Case {
        const char* name;
        double coefficient;
        std::uint32_t low;
        std::uint32_t high;
    };
    const Case cases[] = {
        {"one", 1.0, 0, 1},
        {"zero", 0.0, 0, 0},
        {"negative zero stays zero", -0.0, 0, 0},
        {"BT.709 red weight", 0.2126, 913110047, 0},  // round(0.2126 · 2^32)
        {"negative half", -0.5, 0x80000000u, 0x80000000u},
        {"minus one and a half", -1.5, 0x80000000u, 0x80000001u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto words = encodeCtm({c.coefficient, 0, 0, 0, 0, 0, 0, 0, 0});
        EXPECT_EQ(words[0], c.low);
        EXPECT_EQ(words[1], c.high);
    }
}

TEST(CtmMatrixTest, IdentityAndGrayscaleRows) {
    const auto identity = encodeCtm(kIdentityMatrix);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(identity[2 * i + 1], (i % 4 == 0) ? 1u : 0u) << i;
        EXPECT_EQ(identity[2 * i], 0u) << i;
    }
    const auto grey = encodeCtm(kGrayscaleMatrix);
    const std::uint32_t weights[] = {913110047u, 3071760610u, 310096639u};
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(grey[2 * i], weights[i % 3]) << i;
        EXPECT_EQ(grey[2 * i + 1], 0u) << i;
    }
}

}  // namespace
}  // namespace olvane::platform::os

#pragma once

#include <array>
#include <cstdint>

namespace olvane::platform::os {

// A colour transform matrix as the kernel's "CTM" property holds it: nine S31.32 sign-magnitude
// coefficients, row by row, each as its low 32-bit word then its high one.
using CtmWords = std::array<std::uint32_t, 18>;
using ColourMatrix = std::array<double, 9>;

CtmWords encodeCtm(const ColourMatrix& matrix);

// Every row gives each channel the luma of the pixel (BT.709 weights).
inline constexpr ColourMatrix kGrayscaleMatrix = {
    0.2126, 0.7152, 0.0722,  //
    0.2126, 0.7152, 0.0722,  //
    0.2126, 0.7152, 0.0722,
};
inline constexpr ColourMatrix kIdentityMatrix = {1, 0, 0, 0, 1, 0, 0, 0, 1};

}  // namespace olvane::platform::os

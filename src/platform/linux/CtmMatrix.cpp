#include "platform/linux/CtmMatrix.h"

#include <algorithm>
#include <cmath>

namespace olvane::platform::os {

CtmWords encodeCtm(const ColourMatrix& matrix) {
    constexpr double kOne = 4294967296.0;  // 2^32: the fixed point's 1.0
    constexpr std::uint64_t kSignBit = 1ull << 63;
    CtmWords words{};
    for (std::size_t i = 0; i < matrix.size(); ++i) {
        const double magnitude = std::min(std::fabs(matrix[i]) * kOne, 9.2e18);
        std::uint64_t value = static_cast<std::uint64_t>(std::llround(magnitude));
        if (std::signbit(matrix[i]) && value != 0) {
            value |= kSignBit;
        }
        words[2 * i] = static_cast<std::uint32_t>(value & 0xFFFFFFFFu);
        words[2 * i + 1] = static_cast<std::uint32_t>(value >> 32);
    }
    return words;
}

}  // namespace olvane::platform::os

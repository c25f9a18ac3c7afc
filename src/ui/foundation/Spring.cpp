#include "ui/foundation/Spring.h"

#include <cmath>
#include <numbers>

namespace olvane::ui {
namespace {

double naturalFrequency() {
    return 2 * std::numbers::pi / Spring::kResponse;
}

double decayRate() {
    return Spring::kDampingFraction * naturalFrequency();
}

double dampedFrequency() {
    const double zeta = Spring::kDampingFraction;
    return naturalFrequency() * std::sqrt(1 - zeta * zeta);
}

}  // namespace

double Spring::position(double seconds) {
    if (seconds <= 0) {
        return 0;
    }
    const double envelope = std::exp(-decayRate() * seconds);
    const double wd = dampedFrequency();
    return 1 - envelope * (std::cos(wd * seconds) + decayRate() / wd * std::sin(wd * seconds));
}

double Spring::settlingSeconds() {
    // The distance from rest never exceeds the envelope times this amplitude.
    const double amplitude = std::hypot(1.0, decayRate() / dampedFrequency());
    return std::log(amplitude / kRestTolerance) / decayRate();
}

double Spring::easing(double progress) {
    if (progress >= 1) {
        return 1;
    }
    return position(progress * settlingSeconds());
}

}  // namespace olvane::ui

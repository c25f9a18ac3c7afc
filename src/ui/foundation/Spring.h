#pragma once

namespace olvane::ui {

// The spring that slides the switches' thumbs: a unit mass pulled from 0 towards 1, described as
// the interface describes it (response 0.3 s, damping fraction 0.7, no blending). Pure functions
// of time, so the curve is checked without a clock.
class Spring {
  public:
    static constexpr double kResponse = 0.3;
    static constexpr double kDampingFraction = 0.7;
    // Beyond this distance from its rest the motion is invisible.
    static constexpr double kRestTolerance = 0.001;

    // The position at `seconds` after the start: 0 at the start, overshooting 1 a little, then
    // settling on it.
    static double position(double seconds);
    // When the motion has come to rest: from then on the position is taken as 1.
    static double settlingSeconds();
    // The position over the settling time, as an easing curve (progress 0 to 1); exactly 1 at 1.
    static double easing(double progress);
};

}  // namespace olvane::ui

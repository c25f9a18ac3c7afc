#pragma once

namespace olvane::ui {

// How much the home page's hero block grows: with the page's area, but never below its resting
// size because of a narrow page; only a low page shrinks it.
class AccueilScale {
  public:
    // The page area at which the hero block has its resting size.
    static constexpr double kRestingContentWidth = 540;
    static constexpr double kRestingHeight = 670;
    // The page margins, left and right, that the hero does not use.
    static constexpr double kHorizontalMargins = 96;

    static double forPageArea(double width, double height);
};

}  // namespace olvane::ui

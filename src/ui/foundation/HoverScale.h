#pragma once

namespace olvane::ui {

// The hover growth of clickable elements: about 1.5 points on the element's mean side, whatever
// its size (a 20-point icon grows by 7.5 %, a 300-point card by 0.5 %).
class HoverScale {
  public:
    struct Size {
        double width;
        double height;
    };
    static constexpr double kGrowth = 1.5;
    // The size assumed until the element is first measured.
    static constexpr Size kInitialSize{100, 40};
    // Changes of the measured size up to this much are ignored, so measuring never loops.
    static constexpr double kSizeTolerance = 1.0;

    bool hovered() const { return hovered_; }
    void setHovered(bool hovered) { hovered_ = hovered; }
    Size size() const { return size_; }

    // Records the element's size: always the first time, later only on a change of more than
    // kSizeTolerance in width or height. True when the stored size changed.
    bool measure(Size size);

    // The factor to scale the element by about its centre.
    double factor() const;

  private:
    bool hovered_ = false;
    bool measured_ = false;
    Size size_ = kInitialSize;
};

}  // namespace olvane::ui

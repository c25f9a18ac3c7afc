#pragma once

namespace olvane::ui {

// The sizes of a switch: a capsule track and a round thumb that sits `thumbInset` from the
// track's leading end when off and from its trailing end when on.
struct ToggleGeometry {
    static constexpr double kTrackWidth = 38;
    static constexpr double kTrackHeight = 22;
    static constexpr double kThumbSize = 16;
    static constexpr double kThumbInset = 3;

    double trackWidth = kTrackWidth;
    double trackHeight = kTrackHeight;
    double thumbSize = kThumbSize;
    double thumbInset = kThumbInset;

    // The base sizes multiplied by `scale`.
    static constexpr ToggleGeometry scaled(double scale) {
        return {kTrackWidth * scale, kTrackHeight * scale, kThumbSize * scale, kThumbInset * scale};
    }

    // The thumb's offset from the track's leading edge.
    constexpr double thumbX(bool on) const {
        return on ? thumbInset + (trackWidth - thumbSize - 2 * thumbInset) : thumbInset;
    }
};

}  // namespace olvane::ui

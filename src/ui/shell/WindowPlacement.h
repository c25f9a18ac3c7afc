#pragma once

#include <QRect>
#include <QSize>
#include <optional>

namespace olvane::ui {

// Where a new window opens: centred in the screen's usable area and no larger than it, as long as
// its minimum size allows; a window larger than the screen keeps its top-left corner on it. None
// for a screen without area, as Qt makes up while no monitor is on: the window manager decides.
class WindowPlacement {
  public:
    static std::optional<QRect> centred(const QRect& screen, const QSize& wanted,
                                        const QSize& minimum);
};

}  // namespace olvane::ui

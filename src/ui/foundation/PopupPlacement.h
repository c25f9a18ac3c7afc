#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace olvane::ui {

// Where a floating panel goes next to what opened it (all in global coordinates).
class PopupPlacement {
  public:
    static constexpr int kGap = 4;
    static constexpr int kScreenMargin = 8;

    // Centred below `anchor`, above it when there is no room below, kept inside `screen`.
    static QPoint below(const QRect& anchor, const QSize& size, const QRect& screen);
    // The usable area of the screen that shows `anchor`.
    static QRect screenArea(const QRect& anchor);
};

}  // namespace olvane::ui

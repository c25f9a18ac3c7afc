#pragma once

#include <QImage>
#include <QSize>

#include "ui/foundation/Theme.h"

namespace olvane::ui {

// The soft shadow under a floating rectangle, drawn once into an image.
class DropShadow {
  public:
    // Room the shadow needs around the rectangle on every side.
    static int margin(const Theme::Shadow& shadow);
    // An image of `size` plus margin() on every side: the shadow of a rectangle of `size` placed
    // at (margin, margin), with its offset and blur; its corners rounded by `cornerRadius`.
    // Main thread.
    static QImage render(QSize size, const Theme::Shadow& shadow, qreal devicePixelRatio = 1.0,
                         qreal cornerRadius = 0);
};

}  // namespace olvane::ui

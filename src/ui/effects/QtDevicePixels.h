#pragma once

#include <QRect>

#include "platform/Geometry.h"

class QWidget;

namespace olvane::ui {

// The window server places windows in its device pixels; Qt places and draws them in logical
// pixels, each screen at its own device pixel ratio (2 on a desktop scaled to 200 %). Every frame
// or point of the window server that meets a Qt window goes through here, and back.

// The geometry to give Qt for a window whose frame in device pixels is `frame`, at the ratio of
// the screen that holds the frame's centre. Qt's whole logical pixels land within a device pixel
// of it (an odd one is missed at 200 %): the window server must then be told the exact frame.
QRect logicalGeometry(const platform::Rect& frame);

// Where a top-level window stands, in device pixels.
platform::Rect deviceFrame(const QWidget& window);

// A point of the desktop in device pixels, in the logical coordinates of a window standing at
// `frame` (origin at its top left).
platform::Point windowPoint(const QWidget& window, const platform::Rect& frame,
                            const platform::Point& point);

}  // namespace olvane::ui

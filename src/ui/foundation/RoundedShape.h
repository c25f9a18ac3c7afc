#pragma once

#include <QPainterPath>
#include <QRectF>

namespace olvane::ui {

// Rounded rectangles with continuous corners: each corner eases out of its straight edges instead
// of meeting them with a circular arc.
class RoundedShape {
  public:
    static QPainterPath continuous(const QRectF& rect, qreal radius);
    // One radius per corner (top-left, bottom-left, bottom-right, top-right), so a change of any
    // one can be animated.
    static QPainterPath continuous(const QRectF& rect, qreal topLeading, qreal bottomLeading,
                                   qreal bottomTrailing, qreal topTrailing);
};

}  // namespace olvane::ui

#pragma once

#include <QColor>
#include <QRectF>
#include <QSize>

#include "ui/foundation/ToggleGeometry.h"

class QPainter;

namespace olvane::ui {

// How one switch looks at a moment: its colours, its outline and where its thumb is.
struct SwitchLook {
    QColor track;
    QColor outline;
    qreal outlineWidth;
    QColor thumb;
    qreal thumbX;
};

// The drawing shared by the three switches: the capsule track, its outline centred on its edge,
// and the thumb centred on the track's height.
class SwitchDrawing {
  public:
    // Room kept around the track for its outline and the hover growth.
    static constexpr int kMargin = 2;

    static QSize widgetSize(const ToggleGeometry& geometry);
    // Draws the switch with its track's top-left corner at `origin`.
    static void paint(QPainter& painter, QPointF origin, const ToggleGeometry& geometry,
                      const SwitchLook& look);
};

}  // namespace olvane::ui

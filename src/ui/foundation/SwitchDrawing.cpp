#include "ui/foundation/SwitchDrawing.h"

#include <QPainter>
#include <cmath>

namespace olvane::ui {

QSize SwitchDrawing::widgetSize(const ToggleGeometry& geometry) {
    return {static_cast<int>(std::ceil(geometry.trackWidth)) + 2 * kMargin,
            static_cast<int>(std::ceil(geometry.trackHeight)) + 2 * kMargin};
}

void SwitchDrawing::paint(QPainter& painter, QPointF origin, const ToggleGeometry& geometry,
                          const SwitchLook& look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(origin, QSizeF(geometry.trackWidth, geometry.trackHeight));
    const qreal radius = geometry.trackHeight / 2;
    painter.setBrush(look.track);
    painter.setPen(QPen(look.outline, look.outlineWidth));
    painter.drawRoundedRect(track, radius, radius);
    const QRectF thumb(origin.x() + look.thumbX,
                       origin.y() + (geometry.trackHeight - geometry.thumbSize) / 2,
                       geometry.thumbSize, geometry.thumbSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.thumb);
    painter.drawEllipse(thumb);
    painter.restore();
}

}  // namespace olvane::ui

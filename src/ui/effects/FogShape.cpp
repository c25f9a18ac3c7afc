#include "ui/effects/FogShape.h"

#include <QBitmap>
#include <QPainter>

namespace olvane::ui {

QRegion fogShapeWithHoles(QSize size, double radius, const std::vector<TrailPoint>& trail) {
    if (size.isEmpty()) {
        return {};
    }
    QBitmap shape(size);
    shape.fill(Qt::color1);
    {
        QPainter painter(&shape);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::color0);
        for (const auto& point : trail) {
            // The soft hole takes o·(1 − d/r) of the fog: half or more within r·(1 − 0.5/o).
            if (point.opacity <= 0.5) {
                continue;
            }
            const double holeRadius = radius * (1 - 0.5 / std::min(point.opacity, 1.0));
            painter.drawEllipse(QPointF(point.position.x, point.position.y), holeRadius,
                                holeRadius);
        }
    }
    return QRegion(shape);
}

}  // namespace olvane::ui

#include "ui/foundation/RoundedShape.h"

#include <algorithm>

namespace olvane::ui {
namespace {

// A corner leaves its edges `kReach` radii before the corner point; its control points sit
// `kHandle` radii from it, which puts the curve's middle where a circular arc's would be.
constexpr qreal kReach = 1.28;
constexpr qreal kHandle = 0.354;

struct Corner {
    QPointF point;
    QPointF in;   // unit direction of the edge arriving at the corner
    QPointF out;  // unit direction of the edge leaving it
    qreal radius;
};

}  // namespace

QPainterPath RoundedShape::continuous(const QRectF& rect, qreal radius) {
    return continuous(rect, radius, radius, radius, radius);
}

QPainterPath RoundedShape::continuous(const QRectF& rect, qreal topLeading, qreal bottomLeading,
                                      qreal bottomTrailing, qreal topTrailing) {
    QPainterPath path;
    if (rect.isEmpty()) {
        return path;
    }
    const qreal limit = std::min(rect.width(), rect.height()) / 2 / kReach;
    const auto clamp = [limit](qreal r) { return std::clamp(r, 0.0, limit); };
    // Clockwise from the top-right corner.
    const Corner corners[] = {
        {rect.topRight(), {1, 0}, {0, 1}, clamp(topTrailing)},
        {rect.bottomRight(), {0, 1}, {-1, 0}, clamp(bottomTrailing)},
        {rect.bottomLeft(), {-1, 0}, {0, -1}, clamp(bottomLeading)},
        {rect.topLeft(), {0, -1}, {1, 0}, clamp(topLeading)},
    };
    const Corner& last = corners[3];
    path.moveTo(last.point + last.out * kReach * last.radius);
    for (const auto& c : corners) {
        path.lineTo(c.point - c.in * kReach * c.radius);
        if (c.radius > 0) {
            path.cubicTo(c.point - c.in * kHandle * c.radius, c.point + c.out * kHandle * c.radius,
                         c.point + c.out * kReach * c.radius);
        }
    }
    path.closeSubpath();
    return path;
}

}  // namespace olvane::ui

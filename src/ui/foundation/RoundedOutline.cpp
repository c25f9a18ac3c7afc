#include "ui/foundation/RoundedOutline.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

RoundedOutline::RoundedOutline(QWidget* host, qreal radius, qreal visibleWidth)
    : OverlayLayer(host), radius_(radius), width_(visibleWidth), color_(Theme::black()) {}

void RoundedOutline::setOutline(qreal visibleWidth, const QColor& color) {
    if (visibleWidth == width_ && color == color_) {
        return;
    }
    width_ = visibleWidth;
    color_ = color;
    update();
}

QPainterPath RoundedOutline::shape(const QRect& rect, qreal radius, qreal visibleWidth) {
    const qreal half = visibleWidth / 2;
    return RoundedShape::continuous(QRectF(rect).adjusted(half, half, -half, -half), radius);
}

void RoundedOutline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = shape(rect(), radius_, width_);
    QPainterPath outside;
    outside.addRect(rect());
    painter.fillPath(outside.subtracted(outline), Theme::windowBackground());
    QPen pen(color_, width_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.strokePath(outline, pen);
}

}  // namespace olvane::ui

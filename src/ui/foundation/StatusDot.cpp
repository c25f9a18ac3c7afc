#include "ui/foundation/StatusDot.h"

#include <QPainter>

#include "ui/foundation/Theme.h"

namespace olvane::ui {

StatusDot::StatusDot(QWidget* parent) : QWidget(parent), color_(Theme::black()) {
    setFixedSize(kSide, kSide);
}

void StatusDot::setFilled(bool filled) {
    filled_ = filled;
    update();
}

void StatusDot::setColor(const QColor& color) {
    color_ = color;
    update();
}

void StatusDot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color_, 1));
    painter.setBrush(filled_ ? QBrush(color_) : Qt::NoBrush);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace olvane::ui

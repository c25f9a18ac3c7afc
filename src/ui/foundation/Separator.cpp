#include "ui/foundation/Separator.h"

#include <QPainter>

#include "ui/foundation/Theme.h"

namespace olvane::ui {

Separator::Separator(Qt::Orientation orientation, QColor color, QWidget* parent)
    : QWidget(parent), color_(color) {
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
}

Separator* Separator::divider(QWidget* parent) {
    QColor color = Theme::black();
    color.setAlphaF(0.1f);
    return new Separator(Qt::Horizontal, color, parent);
}

void Separator::setColor(const QColor& color) {
    color_ = color;
    update();
}

void Separator::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), color_);
}

}  // namespace olvane::ui

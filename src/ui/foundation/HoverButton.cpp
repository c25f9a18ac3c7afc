#include "ui/foundation/HoverButton.h"

#include <QPainter>

namespace olvane::ui {

HoverButton::HoverButton(QWidget* parent)
    : QAbstractButton(parent), hover_(new HoverScaleEffect(this)) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void HoverButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setTransform(hover_->transformAbout(scaleAnchor()));
    paintContent(painter);
}

}  // namespace olvane::ui

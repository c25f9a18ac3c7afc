#include "ui/foundation/TappableCard.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/foundation/HoverScaleSwitch.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

TappableCard::TappableCard(std::function<void()> onTap, QWidget* parent)
    : QWidget(parent), onTap_(std::move(onTap)), fill_(Theme::white()), outline_(Theme::black()) {
    hoverScaleEffect(this, true);
}

void TappableCard::setColors(const QColor& fill, const QColor& outline) {
    fill_ = fill;
    outline_ = outline;
    update();
}

void TappableCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = Theme::outlineWidth / 2;
    const QPainterPath card = RoundedShape::continuous(
        QRectF(rect()).adjusted(inset, inset, -inset, -inset), Theme::cornerRadius);
    painter.fillPath(card, fill_);
    painter.strokePath(card, QPen(outline_, Theme::outlineWidth));
}

void TappableCard::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void TappableCard::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        onTap_) {
        onTap_();
    }
}

}  // namespace olvane::ui

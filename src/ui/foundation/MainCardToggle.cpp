#include "ui/foundation/MainCardToggle.h"

#include <QPainter>

#include "ui/foundation/SpringAnimation.h"
#include "ui/foundation/SwitchDrawing.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

MainCardToggle::MainCardToggle(bool isActive, qreal scale, QWidget* parent)
    : QWidget(parent),
      active_(isActive),
      geometry_(ToggleGeometry::scaled(scale)),
      thumb_(new SpringAnimation(this, geometry_.thumbX(isActive))) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(sizeHint());
}

void MainCardToggle::setActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    thumb_->slideTo(geometry_.thumbX(active));
    update();
}

qreal MainCardToggle::thumbX() const {
    return thumb_->value();
}

QSize MainCardToggle::sizeHint() const {
    return SwitchDrawing::widgetSize(geometry_);
}

void MainCardToggle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    SwitchDrawing::paint(painter, QPointF(SwitchDrawing::kMargin, SwitchDrawing::kMargin),
                         geometry_,
                         {Theme::white(), active_ ? Theme::white() : Theme::black(),
                          Theme::outlineWidth, Theme::black(), thumb_->value()});
}

}  // namespace olvane::ui

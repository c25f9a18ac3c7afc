#include "ui/foundation/OlvaneToggleStyle.h"

#include <QPainter>

#include "ui/foundation/SpringAnimation.h"
#include "ui/foundation/SwitchDrawing.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

OlvaneToggleStyle::OlvaneToggleStyle(qreal scale, QWidget* parent)
    : HoverButton(parent),
      geometry_(ToggleGeometry::scaled(scale)),
      thumb_(new SpringAnimation(this, geometry_.thumbX(false))) {
    setCheckable(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMinimumSize(sizeHint());
    connect(this, &QAbstractButton::toggled, this,
            [this](bool on) { thumb_->slideTo(geometry_.thumbX(on)); });
}

void OlvaneToggleStyle::setCheckedAtOnce(bool checked) {
    setChecked(checked);
    thumb_->jumpTo(geometry_.thumbX(checked));
}

qreal OlvaneToggleStyle::thumbX() const {
    return thumb_->value();
}

QSize OlvaneToggleStyle::sizeHint() const {
    return SwitchDrawing::widgetSize(geometry_);
}

void OlvaneToggleStyle::paintContent(QPainter& painter) {
    const bool on = isChecked();
    const QPointF origin(width() - SwitchDrawing::kMargin - geometry_.trackWidth,
                         (height() - geometry_.trackHeight) / 2);
    SwitchDrawing::paint(painter, origin, geometry_,
                         {on ? Theme::black() : Theme::white(), Theme::black(), 1,
                          on ? Theme::white() : Theme::black(), thumb_->value()});
}

}  // namespace olvane::ui

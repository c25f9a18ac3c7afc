#include "ui/foundation/ToggleSwitchView.h"

#include <QPainter>

#include "ui/foundation/SpringAnimation.h"
#include "ui/foundation/SwitchDrawing.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

ToggleSwitchView::Colors ToggleSwitchView::colors(bool isInverted, bool isOn) {
    const QColor outline = isInverted ? Theme::white() : Theme::black();
    // Inverted, the scheme of the other state.
    const bool dark = isOn != isInverted;
    return {dark ? Theme::black() : Theme::white(), dark ? Theme::white() : Theme::black(),
            outline};
}

ToggleSwitchView::ToggleSwitchView(bool isOn, bool disabled, bool isInverted,
                                   ToggleGeometry geometry, QWidget* parent)
    : HoverButton(parent),
      on_(isOn),
      inverted_(isInverted),
      geometry_(geometry),
      thumb_(new SpringAnimation(this, geometry.thumbX(isOn))) {
    setFixedSize(sizeHint());
    setEnabled(!disabled);
    connect(this, &QAbstractButton::clicked, this, [this] {
        on_ = !on_;
        thumb_->slideTo(geometry_.thumbX(on_));
        Q_EMIT toggledByUser(on_);
    });
}

void ToggleSwitchView::setOn(bool on) {
    on_ = on;
    thumb_->jumpTo(geometry_.thumbX(on));
}

void ToggleSwitchView::setSwitchDisabled(bool disabled) {
    setEnabled(!disabled);
    update();
}

bool ToggleSwitchView::isSwitchDisabled() const {
    return testAttribute(Qt::WA_ForceDisabled);
}

qreal ToggleSwitchView::thumbX() const {
    return thumb_->value();
}

QSize ToggleSwitchView::sizeHint() const {
    return SwitchDrawing::widgetSize(geometry_);
}

void ToggleSwitchView::paintContent(QPainter& painter) {
    painter.setOpacity(isSwitchDisabled() ? 0.5 : 1.0);
    const Colors c = colors(inverted_, on_);
    SwitchDrawing::paint(painter, QPointF(SwitchDrawing::kMargin, SwitchDrawing::kMargin),
                         geometry_, {c.track, c.outline, 1, c.thumb, thumb_->value()});
}

}  // namespace olvane::ui

#include "ui/foundation/HoverScaleEffect.h"

#include <QEvent>
#include <QWidget>

#include "ui/foundation/Animations.h"

namespace olvane::ui {

HoverScaleEffect::HoverScaleEffect(QWidget* target) : QObject(target), target_(target) {
    animation_.setDuration(kAnimationMs);
    animation_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        current_ = value.toReal();
        if (target_) {
            target_->update();
        }
    });
    target->installEventFilter(this);
    if (target->isVisible()) {
        measure();
    }
}

HoverScaleEffect* HoverScaleEffect::lite(QWidget* target, qreal scale) {
    auto* effect = new HoverScaleEffect(target);
    effect->fixedScale_ = scale;
    return effect;
}

void HoverScaleEffect::setActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    state_ = HoverScale();
    animation_.stop();
    current_ = 1.0;
    if (active_ && target_ && target_->isVisible()) {
        measure();
    }
    if (target_) {
        target_->update();
    }
}

qreal HoverScaleEffect::targetScale() const {
    if (!active_) {
        return 1.0;
    }
    if (fixedScale_) {
        return state_.hovered() ? *fixedScale_ : 1.0;
    }
    return state_.factor();
}

QTransform HoverScaleEffect::transform() const {
    if (!target_) {
        return {};
    }
    return transformAbout(QRectF(target_->rect()).center());
}

QTransform HoverScaleEffect::transformAbout(QPointF anchor) const {
    if (current_ == 1.0) {
        return {};
    }
    QTransform t;
    t.translate(anchor.x(), anchor.y());
    t.scale(current_, current_);
    t.translate(-anchor.x(), -anchor.y());
    return t;
}

bool HoverScaleEffect::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_ && active_) {
        switch (event->type()) {
            case QEvent::Enter:
                setHovered(true);
                break;
            case QEvent::Leave:
            case QEvent::Hide:
                setHovered(false);
                break;
            case QEvent::Show:
            case QEvent::Resize:
                measure();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void HoverScaleEffect::measure() {
    const QSize size = target_->size();
    if (state_.measure({static_cast<double>(size.width()), static_cast<double>(size.height())})) {
        animateTo(targetScale());
    }
}

void HoverScaleEffect::setHovered(bool hovered) {
    if (hovered == state_.hovered()) {
        return;
    }
    state_.setHovered(hovered);
    animateTo(targetScale());
}

void HoverScaleEffect::animateTo(qreal scale) {
    if (scale == current_ && animation_.state() != QAbstractAnimation::Running) {
        return;
    }
    animation_.stop();
    animation_.setStartValue(current_);
    animation_.setEndValue(scale);
    Animations::start(animation_);
}

}  // namespace olvane::ui

#include "ui/foundation/SpringAnimation.h"

#include <QWidget>
#include <cmath>

#include "ui/foundation/Animations.h"
#include "ui/foundation/Spring.h"

namespace olvane::ui {
namespace {

qreal springEasing(qreal progress) {
    return Spring::easing(progress);
}

}  // namespace

SpringAnimation::SpringAnimation(QWidget* target, qreal initial)
    : QObject(target), target_(target), value_(initial), destination_(initial) {
    QEasingCurve curve;
    curve.setCustomType(&springEasing);
    animation_.setEasingCurve(curve);
    animation_.setDuration(static_cast<int>(std::ceil(Spring::settlingSeconds() * 1000)));
    connect(&animation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { show(value.toReal()); });
}

bool SpringAnimation::isRunning() const {
    return animation_.state() == QAbstractAnimation::Running;
}

void SpringAnimation::slideTo(qreal destination) {
    if (destination == destination_ && !isRunning()) {
        return;
    }
    destination_ = destination;
    animation_.stop();
    // The motion starts from wherever the value is now, also halfway through a slide.
    animation_.setStartValue(value_);
    animation_.setEndValue(destination);
    Animations::start(animation_);
}

void SpringAnimation::jumpTo(qreal destination) {
    animation_.stop();
    destination_ = destination;
    show(destination);
}

void SpringAnimation::show(qreal value) {
    value_ = value;
    if (target_) {
        target_->update();
    }
}

}  // namespace olvane::ui

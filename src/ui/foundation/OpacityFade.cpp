#include "ui/foundation/OpacityFade.h"

#include <QGraphicsOpacityEffect>
#include <QWidget>

#include "ui/foundation/Animations.h"

namespace olvane::ui {

OpacityFade::OpacityFade(QWidget* target, int durationMs, bool shown)
    : QObject(target), target_(target), effect_(new QGraphicsOpacityEffect(target)), shown_(shown) {
    setOpacity(shown ? 1.0 : 0.0);
    target->setGraphicsEffect(effect_);
    target->setAttribute(Qt::WA_TransparentForMouseEvents, !shown);
    animation_.setDuration(durationMs);
    animation_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&animation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { setOpacity(value.toReal()); });
}

void OpacityFade::setShown(bool shown) {
    if (shown == shown_) {
        return;
    }
    shown_ = shown;
    if (target_) {
        target_->setAttribute(Qt::WA_TransparentForMouseEvents, !shown);
    }
    animation_.stop();
    animation_.setStartValue(effect_->opacity());
    animation_.setEndValue(shown ? 1.0 : 0.0);
    Animations::start(animation_);
}

// Fully shown, the widget draws without the effect: text drawn through it on a transparent
// layer comes out heavier than the same text beside it.
void OpacityFade::setOpacity(qreal opacity) {
    effect_->setOpacity(opacity);
    effect_->setEnabled(opacity < 1.0);
}

qreal OpacityFade::opacity() const {
    return effect_->opacity();
}

}  // namespace olvane::ui

#include "ui/foundation/FadingSeparator.h"

#include <QPainter>

#include "ui/foundation/Animations.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kLineThickness = 0.5;
constexpr int kInset = 16;
constexpr qreal kLineOpacity = 0.1;

}  // namespace

FadingSeparator::FadingSeparator(bool lineHidden, QWidget* parent)
    : QWidget(parent), hidden_(lineHidden), opacity_(lineHidden ? 0.0 : 1.0) {
    setFixedHeight(kHeight);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    fade_.setDuration(kAnimationMs);
    fade_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        opacity_ = value.toReal();
        update();
    });
}

void FadingSeparator::setLineHidden(bool hidden) {
    if (hidden == hidden_) {
        return;
    }
    hidden_ = hidden;
    fade_.stop();
    fade_.setStartValue(opacity_);
    fade_.setEndValue(hidden ? 0.0 : 1.0);
    Animations::start(fade_);
}

void FadingSeparator::paintEvent(QPaintEvent*) {
    if (opacity_ <= 0) {
        return;
    }
    QPainter painter(this);
    painter.setOpacity(opacity_);
    painter.fillRect(QRectF(kInset, 1, width() - 2.0 * kInset, kLineThickness),
                     Theme::withOpacity(Theme::black(), kLineOpacity));
}

}  // namespace olvane::ui

#include "ui/pages/contrepoids/EffectTestButton.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/foundation/Animations.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kCrossSize = 16;
constexpr int kCrossGap = 8;
constexpr qreal kRadius = 8;
constexpr qreal kOutline = 1.5;

QString idleText() {
    return QStringLiteral("Tester 5s");
}

int crossSide() {
    return SymbolPainter::boxSide(kCrossSize);
}

}  // namespace

EffectTestButton::EffectTestButton(QWidget* parent) : HoverButton(parent) {
    setAccessibleName(idleText());
    swap_.setDuration(kAnimationMs);
    swap_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&swap_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        progress_ = value.toReal();
        updateGeometry();
        update();
    });
}

void EffectTestButton::setTesting(bool testing) {
    if (testing == testing_) {
        return;
    }
    testing_ = testing;
    setAccessibleName(label());
    swap_.stop();
    swap_.setStartValue(progress_);
    swap_.setEndValue(testing ? 1.0 : 0.0);
    Animations::start(swap_);
}

void EffectTestButton::setRemainingSeconds(std::int64_t seconds) {
    if (seconds != remainingSeconds_) {
        remainingSeconds_ = seconds;
        setAccessibleName(label());
        updateGeometry();
        update();
    }
}

QString EffectTestButton::cancelText() const {
    return QStringLiteral("Annuler %1s").arg(remainingSeconds_);
}

QString EffectTestButton::label() const {
    return testing_ ? cancelText() : idleText();
}

QSize EffectTestButton::idleSize() const {
    const QFontMetrics metrics(Theme::fontRegular14());
    return {metrics.horizontalAdvance(idleText()) + 2 * kPaddingH + 1,
            metrics.height() + 2 * kPaddingV};
}

QSize EffectTestButton::testingSize() const {
    const QFontMetrics metrics(Theme::fontRegular14());
    return {crossSide() + kCrossGap + metrics.horizontalAdvance(cancelText()) + 2 * kPaddingH + 1,
            std::max(metrics.height(), crossSide()) + 2 * kPaddingV};
}

QSize EffectTestButton::sizeHint() const {
    const QSize idle = idleSize();
    const QSize testing = testingSize();
    return {qRound(idle.width() + (testing.width() - idle.width()) * progress_),
            std::max(idle.height(), testing.height())};
}

void EffectTestButton::paintContent(QPainter& painter) {
    const QRectF frame =
        QRectF(rect()).adjusted(kOutline / 2, kOutline / 2, -kOutline / 2, -kOutline / 2);
    const QPainterPath shape = RoundedShape::continuous(frame, kRadius);
    painter.fillPath(shape, Theme::mixed(Theme::white(), Theme::black(), progress_));
    painter.setFont(Theme::fontRegular14());
    if (progress_ < 1) {
        painter.setOpacity(1 - progress_);
        painter.setPen(Theme::textPrimary());
        painter.drawText(rect(), Qt::AlignCenter, idleText());
    }
    if (progress_ > 0) {
        painter.setOpacity(progress_);
        const QString text = cancelText();
        const qreal width = crossSide() + kCrossGap + painter.fontMetrics().horizontalAdvance(text);
        const qreal left = (rect().width() - width) / 2;
        SymbolPainter::paint(painter,
                             QRectF(left, (height() - crossSide()) / 2.0, crossSide(), crossSide()),
                             "xmark.circle.fill", kCrossSize, Theme::white());
        painter.setPen(Theme::white());
        painter.drawText(QRectF(left + crossSide() + kCrossGap, 0, width, height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter.setOpacity(1);
    painter.setPen(QPen(Theme::black(), kOutline));
    painter.drawPath(shape);
}

}  // namespace olvane::ui

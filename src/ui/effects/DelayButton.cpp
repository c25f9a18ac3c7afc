#include "ui/effects/DelayButton.h"

#include <QPainter>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kHorizontalPadding = 24;
constexpr int kVerticalPadding = 12;
constexpr qreal kCornerRadius = 12;
constexpr qreal kOutlineWidth = 2;
// The scale an appearing button starts from: nothing, yet a valid transform.
constexpr qreal kSmallestScale = 0.00001;

QFont buttonFont() {
    return Theme::font(16, FontWeight::medium);
}

}  // namespace

DelayButton::DelayButton(const QString& text, Style style, QWidget* parent)
    : QAbstractButton(parent), style_(style) {
    setText(text);
    setAccessibleName(text);
    setFont(buttonFont());
    setFocusPolicy(Qt::NoFocus);
    resize(sizeHint());
}

QSize DelayButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 2 * kHorizontalPadding,
            metrics.height() + 2 * kVerticalPadding};
}

void DelayButton::setAppearance(qreal appearance) {
    appearance_ = appearance;
    update();
}

void DelayButton::paintEvent(QPaintEvent*) {
    if (appearance_ <= 0) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(appearance_);
    const QPointF centre = QRectF(rect()).center();
    const qreal scale = std::max(appearance_, kSmallestScale);
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.translate(-centre);

    const bool filled = style_ == Style::filled;
    const qreal inset = filled ? 0 : kOutlineWidth / 2;
    const QPainterPath shape = RoundedShape::continuous(
        QRectF(rect()).adjusted(inset, inset, -inset, -inset), kCornerRadius);
    painter.fillPath(shape, filled ? Theme::black() : Theme::white());
    if (!filled) {
        painter.strokePath(shape, QPen(Theme::black(), kOutlineWidth));
    }
    painter.setFont(font());
    painter.setPen(filled ? Theme::white() : Theme::black());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace olvane::ui

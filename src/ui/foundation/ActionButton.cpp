#include "ui/foundation/ActionButton.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

ActionButton::ActionButton(const QString& text, Style style, qreal outlineWidth, QWidget* parent)
    : HoverButton(parent), text_(text), style_(style), outlineWidth_(outlineWidth) {
    setAccessibleName(text);
    setFont(Theme::fontRegular14());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize ActionButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text_) + 2 * kVerticalPadding,
            metrics.height() + 2 * kVerticalPadding};
}

void ActionButton::paintContent(QPainter& painter) {
    const bool filled = style_ == Style::filled;
    const qreal inset = filled ? 0 : outlineWidth_ / 2;
    const QPainterPath shape = RoundedShape::continuous(
        QRectF(rect()).adjusted(inset, inset, -inset, -inset), Theme::cornerRadius);
    painter.fillPath(shape, filled ? Theme::black() : Theme::white());
    if (!filled) {
        painter.strokePath(
            shape, QPen(Theme::black(), outlineWidth_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    }
    painter.setFont(font());
    painter.setPen(filled ? Theme::white() : Theme::black());
    painter.drawText(rect(), Qt::AlignCenter, text_);
}

}  // namespace olvane::ui

#include "ui/foundation/LabelButton.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGraphicsDropShadowEffect>
#include <QPainter>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"

namespace olvane::ui {
namespace {

constexpr int kSymbolSpacing = 4;

}  // namespace

LabelButton::LabelButton(const QString& text, Style style, QWidget* parent)
    : HoverButton(parent), style_(std::move(style)) {
    setText(text);
    setAccessibleName(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (style_.shadow) {
        // The effect draws beyond the button's rectangle, so the layout keeps the button's size.
        shadow_ = new QGraphicsDropShadowEffect(this);
        shadow_->setBlurRadius(style_.shadow->radius);
        shadow_->setOffset(style_.shadow->x, style_.shadow->y);
        shadow_->setColor(style_.shadow->color);
        setGraphicsEffect(shadow_);
    }
}

void LabelButton::setButtonStyle(Style style) {
    style_ = std::move(style);
    updateGeometry();
    update();
}

int LabelButton::symbolWidth() const {
    return style_.symbol.empty() ? 0 : SymbolPainter::boxSide(style_.symbolSize) + kSymbolSpacing;
}

QSize LabelButton::sizeHint() const {
    const QFontMetrics metrics(style_.font);
    return {symbolWidth() + metrics.horizontalAdvance(text()) + 2 * style_.paddingH,
            metrics.height() + 2 * style_.paddingV};
}

QRect LabelButton::labelRect() const {
    return rect().adjusted(style_.paddingH, style_.paddingV, -style_.paddingH, -style_.paddingV);
}

void LabelButton::paintContent(QPainter& painter) {
    painter.setOpacity(opacity());
    const qreal inset = style_.outline ? style_.outlineWidth / 2 : 0;
    const QPainterPath shape = RoundedShape::continuous(
        QRectF(rect()).adjusted(inset, inset, -inset, -inset), style_.cornerRadius);
    painter.fillPath(shape, style_.fill);
    if (style_.outline) {
        painter.strokePath(shape, QPen(*style_.outline, style_.outlineWidth));
    }
    QRectF label = labelRect();
    if (!style_.symbol.empty()) {
        // The symbol and the text centred together.
        const qreal side = SymbolPainter::boxSide(style_.symbolSize);
        const qreal whole = symbolWidth() + QFontMetricsF(style_.font).horizontalAdvance(text());
        const qreal left = (width() - whole) / 2;
        SymbolPainter::paint(painter, QRectF(left, (height() - side) / 2, side, side),
                             style_.symbol, style_.symbolSize, style_.textColor);
        label.setLeft(left + symbolWidth());
        label.setWidth(whole - symbolWidth());
    }
    painter.setFont(style_.font);
    painter.setPen(style_.textColor);
    painter.drawText(label, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void LabelButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && shadow_) {
        shadow_->setColor(
            Theme::withOpacity(style_.shadow->color, style_.shadow->color.alphaF() * opacity()));
    }
    HoverButton::changeEvent(event);
}

}  // namespace olvane::ui

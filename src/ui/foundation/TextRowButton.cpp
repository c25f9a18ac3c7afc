#include "ui/foundation/TextRowButton.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingV = 8;

}  // namespace

TextRowButton::TextRowButton(const QString& text, QWidget* parent)
    : HoverButton(parent), text_(text) {
    setAccessibleName(text);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize TextRowButton::sizeHint() const {
    const QFontMetrics metrics(Theme::fontRegular14());
    return {metrics.horizontalAdvance(text_), metrics.height() + kPaddingV * 2};
}

QSize TextRowButton::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

void TextRowButton::paintContent(QPainter& painter) {
    painter.setFont(Theme::fontRegular14());
    painter.setPen(Theme::popoverText());
    const QRectF textRect = QRectF(rect()).adjusted(0, kPaddingV, 0, -kPaddingV);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(text_, Qt::ElideRight, width()));
}

}  // namespace olvane::ui

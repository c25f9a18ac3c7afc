#include "ui/pages/contrepoids/MenuDropdownButton.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 8;
constexpr int kPaddingV = 4;
constexpr int kSpacing = 4;
constexpr qreal kChevronSize = 10;
constexpr qreal kRadius = 6;

int chevronSide() {
    return SymbolPainter::boxSide(kChevronSize);
}

}  // namespace

MenuDropdownButton::MenuDropdownButton(const QString& label, QWidget* parent)
    : HoverButton(parent), label_(label) {
    setAccessibleName(label);
}

void MenuDropdownButton::setLabel(const QString& label) {
    if (label != label_) {
        label_ = label;
        setAccessibleName(label);
        update();
    }
}

QSize MenuDropdownButton::sizeHint() const {
    const QFontMetrics metrics(Theme::fontRegular14());
    return {2 * kPaddingH + kLabelWidth + kSpacing + chevronSide(),
            2 * kPaddingV + std::max(metrics.height(), chevronSide())};
}

void MenuDropdownButton::paintContent(QPainter& painter) {
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = RoundedShape::continuous(frame, kRadius);
    painter.fillPath(shape, Theme::white());
    painter.setPen(QPen(Theme::lightGray(), 1));
    painter.drawPath(shape);

    const QRectF content = QRectF(rect()).adjusted(kPaddingH, kPaddingV, -kPaddingH, -kPaddingV);
    painter.setFont(Theme::fontRegular14());
    painter.setPen(Theme::textPrimary());
    const QRectF text(content.left(), content.top(), kLabelWidth, content.height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(label_, Qt::ElideRight, kLabelWidth));
    const QRectF chevron(text.right() + kSpacing, content.center().y() - chevronSide() / 2.0,
                         chevronSide(), chevronSide());
    SymbolPainter::paint(painter, chevron, "chevron.up.chevron.down", kChevronSize, Theme::black());
}

}  // namespace olvane::ui

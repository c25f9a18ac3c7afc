#include "ui/foundation/CheckboxBox.h"

#include <QPainter>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

CheckboxBox::CheckboxBox(QWidget* parent) : HoverButton(parent) {
    setCheckable(true);
    setFixedSize(sizeHint());  // one point around the box for its outline and its growth
}

void CheckboxBox::paintContent(QPainter& painter) {
    const QRectF box(1, 1, kSide, kSide);
    const QPainterPath shape = RoundedShape::continuous(box, Theme::cornerRadius);
    painter.fillPath(shape, isChecked() ? Theme::black() : Theme::white());
    painter.setPen(QPen(Theme::black(), Theme::outlineWidth));
    painter.drawPath(shape);
    if (isChecked()) {
        SymbolPainter::paint(painter, box, "checkmark", 11, Theme::white());
    }
}

}  // namespace olvane::ui

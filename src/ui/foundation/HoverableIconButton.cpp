#include "ui/foundation/HoverableIconButton.h"

#include <QPainter>

#include "ui/foundation/SymbolPainter.h"

namespace olvane::ui {

HoverableIconButton::HoverableIconButton(std::string iconName, std::function<void()> action,
                                         QColor foregroundColor, qreal size, bool disabled,
                                         std::optional<QString> accessibilityText, QWidget* parent)
    : HoverButton(parent), iconName_(std::move(iconName)), color_(foregroundColor), size_(size) {
    setFixedSize(kSide, kSide);
    setAccessibleName(accessibilityText.value_or(QString::fromStdString(iconName_)));
    setEnabled(!disabled);
    if (action) {
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    }
}

bool HoverableIconButton::isDisabledByItself() const {
    // Qt marks a widget disabled on its own, as opposed to through its parent, with this.
    return testAttribute(Qt::WA_ForceDisabled);
}

qreal HoverableIconButton::opacity() const {
    return isDisabledByItself() ? 0.5 : 1.0;
}

void HoverableIconButton::paintContent(QPainter& painter) {
    painter.setOpacity(opacity());
    SymbolPainter::paint(painter, rect(), iconName_, size_, color_);
}

}  // namespace olvane::ui

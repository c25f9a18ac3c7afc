#include "ui/pages/monochrome/ExceptionDeleteButton.h"

#include <QPainter>

#include "ui/foundation/HoverScaleEffect.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

ExceptionDeleteButton::ExceptionDeleteButton(std::string entry,
                                             std::function<void(const std::string&)> onDelete,
                                             QWidget* parent)
    : QAbstractButton(parent),
      entry_(std::move(entry)),
      hover_(HoverScaleEffect::lite(this, kHoverScale)) {
    setFixedSize(kSide, kSide);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setAccessibleName(QStringLiteral("xmark"));
    connect(this, &QAbstractButton::clicked, this, [this, onDelete = std::move(onDelete)] {
        // Copies: the row, and this button with it, may go while the call runs.
        const auto call = onDelete;
        const std::string value = entry_;
        if (call) {
            call(value);
        }
    });
}

void ExceptionDeleteButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(hover_->transform());
    SymbolPainter::paint(painter, rect(), "xmark", kSymbolSize, Theme::black());
}

}  // namespace olvane::ui

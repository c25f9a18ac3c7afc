#include "ui/foundation/WrappingLabel.h"

namespace olvane::ui {

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

QSize WrappingLabel::sizeHint() const {
    const QMargins m = contentsMargins();
    const int width = fontMetrics().horizontalAdvance(text()) + m.left() + m.right() + 1;
    return {width, heightForWidth(width)};
}

}  // namespace olvane::ui

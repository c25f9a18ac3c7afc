#include "ui/foundation/DropdownOptionButton.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 12;
constexpr int kPaddingV = 8;
constexpr int kCheckFrame = 16;
constexpr qreal kCheckSize = 12;
constexpr int kSpacing = 8;

}  // namespace

DropdownOptionButton::DropdownOptionButton(const QString& title, bool isSelected,
                                           std::function<void()> action, QWidget* parent)
    : HoverButton(parent), title_(title), selected_(isSelected) {
    setAccessibleName(title);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (action) {
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    }
}

int DropdownOptionButton::titleOffset() {
    return kPaddingH + kCheckFrame + kSpacing;
}

QSize DropdownOptionButton::sizeHint() const {
    const QFontMetrics metrics(Theme::fontRegular14());
    return {titleOffset() + metrics.horizontalAdvance(title_) + kPaddingH + 1,
            std::max(kCheckFrame, metrics.height()) + 2 * kPaddingV};
}

void DropdownOptionButton::paintContent(QPainter& painter) {
    const QRectF content = QRectF(rect()).adjusted(kPaddingH, kPaddingV, -kPaddingH, -kPaddingV);
    if (selected_) {
        const QRectF check(content.left(), content.center().y() - kCheckFrame / 2.0, kCheckFrame,
                           kCheckFrame);
        SymbolPainter::paint(painter, check, "checkmark", kCheckSize, Theme::black());
    }
    painter.setFont(Theme::fontRegular14());
    painter.setPen(Theme::black());
    const QRectF text(titleOffset(), content.top(), content.right() - titleOffset(),
                      content.height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, title_);
}

}  // namespace olvane::ui

#include "ui/foundation/NavigationRow.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/foundation/NavigationItemPresentation.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 16;
constexpr int kPaddingV = 12;
constexpr int kIconFrame = 20;
constexpr int kIconSize = 16;
constexpr int kSpacing = 12;

}  // namespace

NavigationRow::NavigationRow(NavigationItem item, Options options, QWidget* parent)
    : HoverButton(parent), item_(item), options_(std::move(options)) {
    setAccessibleName(title());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString NavigationRow::title() const {
    return options_.labelOverride.value_or(
        QString::fromUtf8(presentation(item_).title.data(),
                          static_cast<qsizetype>(presentation(item_).title.size())));
}

void NavigationRow::setSelected(bool selected) {
    if (selected == selected_) {
        return;
    }
    selected_ = selected;
    setHoverScaleEnabled(!selected);
    update();
}

QSize NavigationRow::sizeHint() const {
    const int line = QFontMetrics(Theme::fontRegular14()).height();
    return {kPaddingH * 2 + kIconFrame + kSpacing + 100,
            kPaddingV * 2 + std::max(kIconFrame, line)};
}

QSize NavigationRow::minimumSizeHint() const {
    return {kPaddingH * 2 + kIconFrame, sizeHint().height()};
}

void NavigationRow::paintContent(QPainter& painter) {
    const QRectF bounds = rect();
    if (selected_) {
        painter.fillPath(RoundedShape::continuous(bounds, Theme::cornerRadius),
                         Theme::rowSelectedBackground());
    }
    const QRectF content = bounds.adjusted(kPaddingH, kPaddingV, -kPaddingH, -kPaddingV);
    qreal x = content.left();
    if (options_.showIcon) {
        const QRectF frame = options_.iconOnly ? content
                                               : QRectF(x, content.center().y() - kIconFrame / 2.0,
                                                        kIconFrame, kIconFrame);
        SymbolPainter::paint(painter, frame, presentation(item_).symbol, kIconSize,
                             selected_ ? Theme::rowSelectedForeground() : Theme::rowIcon());
        x += kIconFrame + kSpacing;
    }
    if (options_.iconOnly) {
        return;
    }
    painter.setFont(Theme::fontRegular14());
    painter.setPen(selected_ ? Theme::rowSelectedForeground() : Theme::rowText());
    const QRectF textRect(x, content.top(), content.right() - x, content.height());
    const QString text = painter.fontMetrics().elidedText(title(), Qt::ElideRight,
                                                          static_cast<int>(textRect.width()));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace olvane::ui

#include "ui/foundation/PageFooterLink.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kIconSize = 14;
constexpr int kIconFrame = 17;
constexpr int kSpacing = 6;

}  // namespace

PageFooterLink::PageFooterLink(std::string icon, const QString& label, std::function<void()> action,
                               QWidget* parent)
    : HoverButton(parent), icon_(std::move(icon)), label_(label) {
    setAccessibleName(label);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (action) {
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    }
}

QSize PageFooterLink::sizeHint() const {
    const QFontMetrics metrics(Theme::fontRegular14());
    return {kIconFrame + kSpacing + metrics.horizontalAdvance(label_) + 1,
            std::max(kIconFrame, metrics.height())};
}

void PageFooterLink::paintContent(QPainter& painter) {
    const QRectF icon(0, (height() - kIconFrame) / 2.0, kIconFrame, kIconFrame);
    SymbolPainter::paint(painter, icon, icon_, kIconSize, Theme::black());
    painter.setFont(Theme::fontRegular14());
    painter.setPen(Theme::black());
    painter.drawText(QRectF(kIconFrame + kSpacing, 0, width() - kIconFrame - kSpacing, height()),
                     Qt::AlignLeft | Qt::AlignVCenter, label_);
}

}  // namespace olvane::ui

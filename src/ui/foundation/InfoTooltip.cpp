#include "ui/foundation/InfoTooltip.h"

#include <QLabel>
#include <QPainter>
#include <cmath>

#include "ui/foundation/HoverScaleEffect.h"
#include "ui/foundation/PopoverPresenter.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kPopoverPadding = 12;
// Room around the badge for its growth under the pointer.
constexpr int kMargin = 1;

}  // namespace

InfoTooltip::InfoTooltip(const QString& text, qreal iconSize, QWidget* parent)
    : QWidget(parent),
      text_(text),
      iconSize_(iconSize),
      hover_(HoverScaleEffect::lite(this, kHoverScale)) {
    setAccessibleName(QStringLiteral("Information"));
    setAccessibleDescription(text);
    setAttribute(Qt::WA_Hover);
    setFixedSize(sizeHint());
    presenter_ = std::make_unique<PopoverPresenter>(this, isHovered_, PopoverPresenter::Kind::hover,
                                                    [this] { return makePopoverContent(); });
}

InfoTooltip::~InfoTooltip() = default;

QWidget* InfoTooltip::popover() const {
    return presenter_->popover();
}

QSize InfoTooltip::sizeHint() const {
    const int side = static_cast<int>(std::ceil(iconSize_)) + 2 * kMargin;
    return {side, side};
}

void InfoTooltip::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    isHovered_.set(true);
}

void InfoTooltip::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    isHovered_.set(false);
}

QWidget* InfoTooltip::makePopoverContent() const {
    auto* label = themedLabel(text_, Theme::fontRegular14());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setContentsMargins(kPopoverPadding, kPopoverPadding, kPopoverPadding, kPopoverPadding);
    label->setFixedWidth(static_cast<int>(kTextWidth) + 2 * kPopoverPadding);
    return label;
}

void InfoTooltip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setTransform(hover_->transform());
    const QRectF circle(QRectF(rect()).center() - QPointF(iconSize_ / 2, iconSize_ / 2),
                        QSizeF(iconSize_, iconSize_));
    painter.setBrush(Theme::white());
    painter.setPen(QPen(Theme::black(), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setFont(Theme::font(iconSize_ * 2 / 3, FontWeight::medium));
    painter.setPen(Theme::black());
    painter.drawText(circle, Qt::AlignCenter, QStringLiteral("i"));
}

}  // namespace olvane::ui

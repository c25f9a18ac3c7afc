#include "ui/pages/contrepoids/EffectRow.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugMarker.h"
#include "ui/foundation/DebugPaddingOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/pages/contrepoids/EffectTestButton.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 16;
constexpr int kIconWidth = 24;
constexpr qreal kIconSize = 20;
constexpr int kIconGap = 16;
constexpr int kTitleGap = 4;
// The least room the flexible space between the text and the button keeps.
constexpr int kMinimumSpace = 16;

}  // namespace

EffectRow::EffectRow(const QString& name, const std::string& iconName, const QString& description,
                     std::function<void()> onTest, std::function<void()> onCancel, QWidget* parent)
    : QWidget(parent),
      icon_(new SymbolView(iconName, kIconSize, Theme::textPrimary(), this)),
      title_(themedLabel(name, Theme::fontMedium14(), this)),
      description_(themedLabel(description, Theme::fontRegular14(), this)),
      button_(new EffectTestButton(this)) {
    icon_->setFixedWidth(kIconWidth);
    description_->setWordWrap(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(button_, &QAbstractButton::clicked, this,
            [this, test = std::move(onTest), cancel = std::move(onCancel)] {
                const auto& action = button_->isTesting() ? cancel : test;
                if (action) {
                    action();
                }
            });
    debugOverlay(icon_, QStringLiteral("icon"), DebugColor::orange);
    debugOverlay(title_, QStringLiteral("title"), DebugColor::cyan);
    debugOverlay(description_, QStringLiteral("description"), DebugColor::cyan);
    debugOverlay(button_, QStringLiteral("testButton"), DebugColor::gray);
    if (SpacingDebugManager::overlaysVisible()) {
        addDebugMarkers();
    }
}

void EffectRow::addDebugMarkers() {
    auto* titleGap =
        new DebugSpacingIndicator(QStringLiteral("p1 (titre↔desc)"), kTitleGap, Qt::Vertical, this);
    titleGap->setAttribute(Qt::WA_TransparentForMouseEvents);
    markers_ = DebugMarkers{
        debugPaddingMarker(this, QMarginsF(kPaddingH, 0, kPaddingH, 0), QStringLiteral("row.padH")),
        debugMarker(this, QStringLiteral("iconTextGroup"), DebugColor::mint),
        debugMarker(this, QStringLiteral("textContent"), DebugColor::teal),
        titleGap,
        debugMarker(this, QStringLiteral("Spacer"), DebugColor::gray),
        debugPaddingMarker(
            button_, QMarginsF(0, EffectTestButton::kPaddingV, 0, EffectTestButton::kPaddingV),
            QStringLiteral("btn.padV")),
        debugPaddingMarker(
            button_, QMarginsF(EffectTestButton::kPaddingH, 0, EffectTestButton::kPaddingH, 0),
            QStringLiteral("btn.padH")),
    };
    // Under the row's own parts, whose outlines stay readable over the bands.
    markers_->rowPadding->lower();
}

void EffectRow::placeDebugMarkers(const Placement& placement) {
    const QRect text = placement.title.united(placement.description);
    const QRect group = placement.icon.united(text);
    markers_->rowPadding->setGeometry(rect());
    markers_->iconTextGroup->setGeometry(group);
    markers_->textContent->setGeometry(text);
    markers_->titleGap->setGeometry(text.left(), placement.title.bottom() + 1, text.width(),
                                    kTitleGap);
    markers_->spacer->setGeometry(group.right() + 1, placement.button.top(),
                                  placement.button.left() - group.right() - 1,
                                  placement.button.height());
    const QRect button(QPoint(), placement.button.size());
    markers_->buttonPaddingV->setGeometry(button);
    markers_->buttonPaddingH->setGeometry(
        button.adjusted(0, EffectTestButton::kPaddingV, 0, -EffectTestButton::kPaddingV));
}

void EffectRow::setTesting(bool testing, std::int64_t remainingSeconds) {
    button_->setRemainingSeconds(remainingSeconds);
    button_->setTesting(testing);
    layOut();
}

QString EffectRow::name() const {
    return title_->text();
}

QString EffectRow::description() const {
    return description_->text();
}

EffectRow::Placement EffectRow::place(int width) const {
    const QSize button = button_->sizeHint();
    const int textLeft = kPaddingH + kIconWidth + kIconGap;
    const int buttonLeft = width - kPaddingH - button.width();
    const int textWidth = std::max(0, buttonLeft - kMinimumSpace - textLeft);
    const int titleHeight = title_->sizeHint().height();
    const int descriptionHeight = description_->heightForWidth(textWidth);
    const int textHeight = titleHeight + kTitleGap + descriptionHeight;
    // The button's middle on the description's middle.
    const int descriptionMiddle = titleHeight + kTitleGap + descriptionHeight / 2;
    const int textTop = std::max(0, button.height() / 2 - descriptionMiddle);
    const int buttonTop = textTop + descriptionMiddle - button.height() / 2;
    const int iconTop = textTop + (textHeight - icon_->height()) / 2;
    Placement placement;
    placement.icon = QRect(kPaddingH, iconTop, kIconWidth, icon_->height());
    placement.title = QRect(textLeft, textTop, textWidth, titleHeight);
    placement.description =
        QRect(textLeft, textTop + titleHeight + kTitleGap, textWidth, descriptionHeight);
    placement.button = QRect(QPoint(buttonLeft, buttonTop), button);
    placement.height = std::max(textTop + textHeight, buttonTop + button.height());
    return placement;
}

int EffectRow::heightForWidth(int width) const {
    return place(width).height;
}

QSize EffectRow::sizeHint() const {
    const int textWidth = std::max(title_->sizeHint().width(), description_->sizeHint().width());
    const int width = 2 * kPaddingH + kIconWidth + kIconGap + textWidth + kMinimumSpace +
                      button_->sizeHint().width();
    return {width, heightForWidth(width)};
}

QSize EffectRow::minimumSizeHint() const {
    return {0, 0};
}

void EffectRow::resizeEvent(QResizeEvent*) {
    layOut();
}

// The button's width follows its label, during its swap too.
bool EffectRow::event(QEvent* event) {
    if (event->type() == QEvent::LayoutRequest) {
        layOut();
    }
    return QWidget::event(event);
}

void EffectRow::layOut() {
    const Placement placement = place(width());
    icon_->setGeometry(placement.icon);
    title_->setGeometry(placement.title);
    description_->setGeometry(placement.description);
    button_->setGeometry(placement.button);
    if (markers_) {
        placeDebugMarkers(placement);
    }
    if (placement.height != height()) {
        updateGeometry();
    }
}

}  // namespace olvane::ui

#include "ui/foundation/CustomIntensityPopup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/ActionButton.h"
#include "ui/foundation/DropShadow.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 16;
constexpr int kSpacing = 32;
constexpr int kButtonHeight = 32;

Theme::Shadow panelShadow() {
    return Theme::shadowBlack15();
}

int shadowMargin() {
    return DropShadow::margin(panelShadow());
}

}  // namespace

CustomIntensityPopup::CustomIntensityPopup(const QString& title, QWidget* content,
                                           std::function<void()> onApply,
                                           std::function<void()> onCancel, QWidget* parent)
    : QWidget(parent), margin_(shadowMargin()) {
    setAttribute(Qt::WA_TranslucentBackground);
    auto* column = new QVBoxLayout(this);
    column->setSpacing(kSpacing);
    column->addWidget(themedLabel(title, Theme::fontMedium14(), this));

    content->setParent(this);
    column->addWidget(content);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(12);
    // "Annuler" (white, outlined) and "Appliquer" (black), half of the row each.
    cancel_ = new ActionButton(QStringLiteral("Annuler"), ActionButton::Style::outlined, 1, this);
    apply_ = new ActionButton(QStringLiteral("Appliquer"), ActionButton::Style::filled, 1, this);
    for (auto [button, action] :
         {std::pair{cancel_, std::move(onCancel)}, std::pair{apply_, std::move(onApply)}}) {
        button->setFixedHeight(kButtonHeight);
        if (action) {
            connect(button, &QAbstractButton::clicked, this, [action] { action(); });
        }
        buttons->addWidget(button, 1);
    }
    column->addLayout(buttons);
    applyMargin();
}

QRect CustomIntensityPopup::panelRect() const {
    return rect().adjusted(margin_, margin_, -margin_, -margin_);
}

void CustomIntensityPopup::setShadowed(bool shadowed) {
    margin_ = shadowed ? shadowMargin() : 0;
    applyMargin();
    update();
}

void CustomIntensityPopup::applyMargin() {
    setFixedWidth(kWidth + 2 * margin_);
    const int inset = margin_ + kPadding;
    layout()->setContentsMargins(inset, inset, inset, inset);
}

void CustomIntensityPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect panel = panelRect();
    if (isShadowed()) {
        if (shadow_.isNull() || shadowSize_ != panel.size()) {
            shadowSize_ = panel.size();
            shadow_ = DropShadow::render(shadowSize_, panelShadow(), devicePixelRatioF());
        }
        painter.drawImage(QPointF(0, 0), shadow_);
    }
    painter.fillPath(RoundedShape::continuous(panel, Theme::cornerRadius), Theme::white());
}

}  // namespace olvane::ui

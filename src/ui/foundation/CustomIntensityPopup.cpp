#include "ui/foundation/CustomIntensityPopup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/DropShadow.h"
#include "ui/foundation/HoverButton.h"
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

// "Annuler" (white, outlined) or "Appliquer" (black), half of the row each.
class PopupButton final : public HoverButton {
  public:
    PopupButton(const QString& text, bool filled, std::function<void()> action, QWidget* parent)
        : HoverButton(parent), text_(text), filled_(filled) {
        setAccessibleName(text);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        if (action) {
            connect(this, &QAbstractButton::clicked, this,
                    [action = std::move(action)] { action(); });
        }
    }

  protected:
    void paintContent(QPainter& painter) override {
        const QPainterPath shape = RoundedShape::continuous(
            QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), Theme::cornerRadius);
        painter.fillPath(shape, filled_ ? Theme::black() : Theme::white());
        if (!filled_) {
            painter.strokePath(shape,
                               QPen(Theme::black(), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        }
        painter.setFont(Theme::fontRegular14());
        painter.setPen(filled_ ? Theme::white() : Theme::black());
        painter.drawText(rect(), Qt::AlignCenter, text_);
    }

  private:
    QString text_;
    bool filled_;
};

}  // namespace

CustomIntensityPopup::CustomIntensityPopup(const QString& title, QWidget* content,
                                           std::function<void()> onApply,
                                           std::function<void()> onCancel, QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    const int margin = shadowMargin();
    setFixedWidth(kWidth + 2 * margin);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(margin + kPadding, margin + kPadding, margin + kPadding,
                               margin + kPadding);
    column->setSpacing(kSpacing);
    column->addWidget(themedLabel(title, Theme::fontMedium14(), this));

    content->setParent(this);
    column->addWidget(content);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(12);
    cancel_ = new PopupButton(QStringLiteral("Annuler"), false, std::move(onCancel), this);
    apply_ = new PopupButton(QStringLiteral("Appliquer"), true, std::move(onApply), this);
    for (auto* button : {cancel_, apply_}) {
        button->setFixedHeight(kButtonHeight);
        buttons->addWidget(button, 1);
    }
    column->addLayout(buttons);
}

QRect CustomIntensityPopup::panelRect() const {
    const int margin = shadowMargin();
    return rect().adjusted(margin, margin, -margin, -margin);
}

void CustomIntensityPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect panel = panelRect();
    if (shadow_.isNull() || shadowSize_ != panel.size()) {
        shadowSize_ = panel.size();
        shadow_ = DropShadow::render(shadowSize_, panelShadow(), devicePixelRatioF());
    }
    painter.drawImage(QPointF(0, 0), shadow_);
    painter.fillPath(RoundedShape::continuous(panel, Theme::cornerRadius), Theme::white());
}

}  // namespace olvane::ui

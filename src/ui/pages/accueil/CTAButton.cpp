#include "ui/pages/accueil/CTAButton.h"

#include "ui/foundation/DebugMarker.h"

namespace olvane::ui {
namespace {

LabelButton::Style ctaStyle() {
    return {.font = Theme::fontMedium14(),
            .textColor = Theme::white(),
            .fill = Theme::black(),
            .outline = Theme::black(),
            .paddingH = 24,
            .paddingV = 12,
            .shadow = Theme::shadowBlack15Large()};
}

}  // namespace

CTAButton::CTAButton(std::function<void()> action, QWidget* parent)
    : LabelButton(QStringLiteral("Configuration guidée"), ctaStyle(), parent),
      textMarker_(debugMarker(this, QStringLiteral("Text"), DebugColor::green)) {
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

void CTAButton::resizeEvent(QResizeEvent* event) {
    LabelButton::resizeEvent(event);
    textMarker_->setGeometry(labelRect());
}

}  // namespace olvane::ui

#include "ui/configurateur/ConfiguratorButtons.h"

namespace olvane::ui {

LabelButton::Style ConfiguratorButtons::primary() {
    return {.font = Theme::fontMedium14(),
            .textColor = Theme::white(),
            .fill = Theme::black(),
            .outline = std::nullopt,
            .paddingH = 20,
            .paddingV = 12,
            .shadow = std::nullopt,
            .cornerRadius = 12};
}

LabelButton::Style ConfiguratorButtons::secondary() {
    auto style = primary();
    style.textColor = Theme::black();
    style.fill = Theme::white();
    style.outline = Theme::black();
    return style;
}

LabelButton* ConfiguratorButtons::make(const QString& text, LabelButton::Style style,
                                       std::function<void()> action, QWidget* parent) {
    auto* button = new LabelButton(text, std::move(style), parent);
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [action = std::move(action)] { action(); });
    return button;
}

}  // namespace olvane::ui

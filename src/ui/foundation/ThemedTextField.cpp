#include "ui/foundation/ThemedTextField.h"

#include "ui/foundation/Theme.h"

namespace olvane::ui {

ThemedTextField::ThemedTextField(const QString& placeholder, std::function<void()> onSubmit,
                                 QWidget* parent)
    : QLineEdit(parent) {
    setPlaceholderText(placeholder);
    setFrame(false);
    setFont(Theme::fontRegular14());
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, Theme::textPrimary());
    palette.setColor(QPalette::PlaceholderText, Theme::placeholder());
    palette.setColor(QPalette::Highlight, Theme::accent());
    palette.setColor(QPalette::HighlightedText, Theme::white());
    setPalette(palette);
    if (onSubmit) {
        connect(this, &QLineEdit::returnPressed, this,
                [onSubmit = std::move(onSubmit)] { onSubmit(); });
    }
}

}  // namespace olvane::ui

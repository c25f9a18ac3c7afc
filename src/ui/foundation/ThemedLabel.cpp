#include "ui/foundation/ThemedLabel.h"

#include <QLabel>

#include "ui/foundation/Theme.h"

namespace olvane::ui {

QLabel* themedLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    setTextColor(label, Theme::textPrimary());
    return label;
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

}  // namespace olvane::ui

#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "ui/foundation/HoverButton.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

// A symbol in a fixed 24-point square that acts on click (the close buttons of the sheets).
// Disabled through its own flag it is drawn at half opacity; a disabled container blocks it too,
// without dimming it. It grows under the pointer also while disabled.
class HoverableIconButton final : public HoverButton {
    Q_OBJECT

  public:
    static constexpr int kSide = 24;

    // `size` is the symbol's point size; `accessibilityText` is read out by assistive
    // technologies (the symbol's name when absent).
    HoverableIconButton(std::string iconName, std::function<void()> action,
                        QColor foregroundColor = Theme::black(), qreal size = 14,
                        bool disabled = false, std::optional<QString> accessibilityText = {},
                        QWidget* parent = nullptr);

    std::string iconName() const { return iconName_; }
    // Whether the button itself is disabled (not its container).
    bool isDisabledByItself() const;
    // 0.5 while disabled by itself, 1 otherwise.
    qreal opacity() const;

    QSize sizeHint() const override { return {kSide, kSide}; }

  protected:
    void paintContent(QPainter& painter) override;

  private:
    std::string iconName_;
    QColor color_;
    qreal size_;
};

}  // namespace olvane::ui

#pragma once

#include <QString>

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// A text button on a rounded rectangle (radius 8, continuous corners): filled black with white
// text, or white outlined in black with black text. The whole rectangle is clickable and grows
// slightly under the pointer.
class ActionButton final : public HoverButton {
    Q_OBJECT

  public:
    enum class Style { filled, outlined };
    static constexpr int kVerticalPadding = 10;

    ActionButton(const QString& text, Style style, qreal outlineWidth = 1.5,
                 QWidget* parent = nullptr);

    const QString& label() const { return text_; }
    // The text's height with the vertical padding; any width.
    QSize sizeHint() const override;

  protected:
    void paintContent(QPainter& painter) override;

  private:
    QString text_;
    Style style_;
    qreal outlineWidth_;
};

}  // namespace olvane::ui

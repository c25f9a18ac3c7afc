#pragma once

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// The box of OlvaneCheckbox: flips on a single click, without animation.
class CheckboxBox final : public HoverButton {
    Q_OBJECT

  public:
    static constexpr int kSide = 18;

    explicit CheckboxBox(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {kSide + 2, kSide + 2}; }

  protected:
    void paintContent(QPainter& painter) override;
};

}  // namespace olvane::ui

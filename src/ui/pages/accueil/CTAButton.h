#pragma once

#include <functional>

#include "ui/foundation/LabelButton.h"

namespace olvane::ui {

// The home page's call to action, "Configuration guidée": white on black, shadowed, always at
// its own size.
class CTAButton final : public LabelButton {
    Q_OBJECT

  public:
    explicit CTAButton(std::function<void()> action, QWidget* parent = nullptr);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* textMarker_;
};

}  // namespace olvane::ui

#pragma once

#include <QString>
#include <functional>

#include "ui/foundation/LabelButton.h"

namespace olvane::ui {

// The wizard's buttons: their two looks, and a button that runs an action on click.
class ConfiguratorButtons {
  public:
    // White medium text on black, corners of 12, padded 20 by 12.
    static LabelButton::Style primary();
    // The same in black on white, outlined 1.5.
    static LabelButton::Style secondary();

    static LabelButton* make(const QString& text, LabelButton::Style style,
                             std::function<void()> action, QWidget* parent = nullptr);
};

}  // namespace olvane::ui

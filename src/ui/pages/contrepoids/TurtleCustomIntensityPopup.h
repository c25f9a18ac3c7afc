#pragma once

#include "friction/TurtleFactors.h"
#include "ui/pages/contrepoids/PresetIntensityPopup.h"

namespace olvane::ui {

// "Configuration Tortue": the factors by which a custom turtle divides the pointer's movement
// and the scrolling, or one of the four turtle presets.
class TurtleCustomIntensityPopup final : public PresetIntensityPopup {
    Q_OBJECT

  public:
    // `values` are the caller's, read when the popup shows and written on apply.
    TurtleCustomIntensityPopup(TurtleFactors& values, std::function<void()> onApply,
                               std::function<void()> onCancel, QWidget* parent = nullptr);
};

}  // namespace olvane::ui

#pragma once

#include "friction/FogSettings.h"
#include "ui/pages/contrepoids/PresetIntensityPopup.h"

namespace olvane::ui {

// "Configuration Buée": the clear radius, the regeneration time and the opacity of a custom
// fog, or one of the four fog presets.
class FogCustomIntensityPopup final : public PresetIntensityPopup {
    Q_OBJECT

  public:
    // `values` are the caller's, read when the popup shows and written on apply.
    FogCustomIntensityPopup(FogSettings& values, std::function<void()> onApply,
                            std::function<void()> onCancel, QWidget* parent = nullptr);
};

}  // namespace olvane::ui

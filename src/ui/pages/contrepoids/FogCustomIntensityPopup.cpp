#include "ui/pages/contrepoids/FogCustomIntensityPopup.h"

namespace olvane::ui {
namespace {

std::vector<PresetIntensityPopup::SliderSetting> fogSliders() {
    using F = FogSettings;
    return {
        {QStringLiteral("Rayon de clarté"),
         {F::kMinClearRadius, F::kMaxClearRadius},
         1,
         QStringLiteral("px"),
         0},
        {QStringLiteral("Régénération"),
         {F::kMinRegeneration, F::kMaxRegeneration},
         0.1,
         QStringLiteral("sec"),
         1},
        {QStringLiteral("Opacité"), {F::kMinOpacity, F::kMaxOpacity}, 0.01, QString(), 2},
    };
}

}  // namespace

FogCustomIntensityPopup::FogCustomIntensityPopup(FogSettings& values, std::function<void()> onApply,
                                                 std::function<void()> onCancel, QWidget* parent)
    : PresetIntensityPopup(QStringLiteral("Configuration Buée"), PresetEditorModel::fog(values),
                           fogSliders(), std::move(onApply), std::move(onCancel), parent) {}

}  // namespace olvane::ui

#include "ui/pages/contrepoids/TurtleCustomIntensityPopup.h"

namespace olvane::ui {
namespace {

std::vector<PresetIntensityPopup::SliderSetting> turtleSliders() {
    using T = TurtleFactors;
    return {
        {QStringLiteral("Ralentissement souris"),
         {T::kMinMouse, T::kMaxMouse},
         0.5,
         QStringLiteral("×"),
         1},
        {QStringLiteral("Ralentissement scroll"),
         {T::kMinScroll, T::kMaxScroll},
         0.5,
         QStringLiteral("×"),
         1},
    };
}

}  // namespace

TurtleCustomIntensityPopup::TurtleCustomIntensityPopup(TurtleFactors& values,
                                                       std::function<void()> onApply,
                                                       std::function<void()> onCancel,
                                                       QWidget* parent)
    : PresetIntensityPopup(QStringLiteral("Configuration Tortue"),
                           PresetEditorModel::turtle(values), turtleSliders(), std::move(onApply),
                           std::move(onCancel), parent) {}

}  // namespace olvane::ui

#include "ui/pages/contrepoids/PresetEditorModel.h"

#include <algorithm>
#include <cmath>

#include "friction/EffectLabels.h"

namespace olvane::ui {

PresetEditorModel::PresetEditorModel(std::vector<Preset> presets, std::vector<double*> bindings,
                                     std::vector<double> initial)
    : working(std::move(initial)), presets_(std::move(presets)), bindings_(std::move(bindings)) {}

std::unique_ptr<PresetEditorModel> PresetEditorModel::fog(FogSettings& values) {
    std::vector<Preset> presets;
    for (const auto intensity :
         {FogIntensity::light, FogIntensity::medium, FogIntensity::strong, FogIntensity::intense}) {
        const FogSettings preset = FogSettings::preset(intensity);
        presets.push_back({std::string(label(intensity)),
                           {preset.clearRadius, preset.regenerationDuration, preset.fogOpacity}});
    }
    const FogSettings initial = FogSettings::unstoredCustom();
    return std::make_unique<PresetEditorModel>(
        std::move(presets),
        std::vector<double*>{&values.clearRadius, &values.regenerationDuration, &values.fogOpacity},
        std::vector<double>{initial.clearRadius, initial.regenerationDuration, initial.fogOpacity});
}

std::unique_ptr<PresetEditorModel> PresetEditorModel::turtle(TurtleFactors& values) {
    std::vector<Preset> presets;
    for (const auto intensity : {TurtleIntensity::light, TurtleIntensity::medium,
                                 TurtleIntensity::strong, TurtleIntensity::extreme}) {
        const TurtleFactors preset = TurtleFactors::preset(intensity);
        presets.push_back({std::string(label(intensity)), {preset.mouse, preset.scroll}});
    }
    const TurtleFactors initial = TurtleFactors::unstoredCustom();
    return std::make_unique<PresetEditorModel>(std::move(presets),
                                               std::vector<double*>{&values.mouse, &values.scroll},
                                               std::vector<double>{initial.mouse, initial.scroll});
}

std::optional<std::size_t> PresetEditorModel::matchingPreset() const {
    for (std::size_t i = 0; i < presets_.size(); ++i) {
        if (presets_[i].values == working()) {
            return i;
        }
    }
    return std::nullopt;
}

std::string PresetEditorModel::dropdownLabel() const {
    const auto preset = matchingPreset();
    return preset ? presets_[*preset].label : std::string(label(FogIntensity::custom));
}

void PresetEditorModel::selectPreset(std::size_t index) {
    if (index < presets_.size()) {
        working.set(presets_[index].values);
    }
}

void PresetEditorModel::setWorkingValue(std::size_t index, double value) {
    auto values = working();
    if (index < values.size()) {
        values[index] = value;
        working.set(std::move(values));
    }
}

void PresetEditorModel::loadValues() {
    std::vector<double> values;
    for (const double* binding : bindings_) {
        values.push_back(*binding);
    }
    working.set(std::move(values));
}

bool PresetEditorModel::applyValues() {
    const auto& values = working();
    if (!std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); })) {
        return false;
    }
    for (std::size_t i = 0; i < bindings_.size() && i < values.size(); ++i) {
        *bindings_[i] = values[i];
    }
    return true;
}

}  // namespace olvane::ui

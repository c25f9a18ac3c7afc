#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "friction/FogSettings.h"
#include "friction/TurtleFactors.h"
#include "platform/Observable.h"

namespace olvane::ui {

// The editor of a custom effect whose values are set with sliders: it works on copies of the
// caller's values, writes them back only on apply, and offers the effect's presets, which set
// every value at once; the preset the copies equal exactly, if any, names the dropdown.
class PresetEditorModel {
  public:
    struct Preset {
        std::string label;
        std::vector<double> values;
    };

    // `bindings` are the caller's values, in the sliders' order; they must outlive the model.
    // The copies hold `initial` until loadValues().
    PresetEditorModel(std::vector<Preset> presets, std::vector<double*> bindings,
                      std::vector<double> initial);
    PresetEditorModel(const PresetEditorModel&) = delete;
    PresetEditorModel& operator=(const PresetEditorModel&) = delete;

    // Radius, regeneration and opacity, over the fog's four presets.
    static std::unique_ptr<PresetEditorModel> fog(FogSettings& values);
    // Pointer and scroll factors, over the turtle's four presets.
    static std::unique_ptr<PresetEditorModel> turtle(TurtleFactors& values);

    // The working copies, in the sliders' order.
    platform::Observable<std::vector<double>> working;
    platform::Observable<bool> showPresetPicker{false};

    const std::vector<Preset>& presets() const { return presets_; }
    // The first preset whose every value equals its copy exactly.
    std::optional<std::size_t> matchingPreset() const;
    // The matching preset's label, else "Personnalisée".
    std::string dropdownLabel() const;

    void selectPreset(std::size_t index);
    void setWorkingValue(std::size_t index, double value);
    // Each time the editor comes on screen.
    void loadValues();
    // Writes the copies into the caller's values; false, with nothing written, when one of
    // them is not a finite number.
    bool applyValues();

  private:
    std::vector<Preset> presets_;
    std::vector<double*> bindings_;
};

}  // namespace olvane::ui

#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace olvane {

// Where the user stands in the wizard: for each of the three modules whether it is behind, under
// way or ahead, and inside the module under way the step and the number of its screens.
class ConfiguratorProgress {
  public:
    enum class Indicator { done, current, upcoming };

    struct Module {
        std::string_view name;
        int firstScreen;
        int lastScreen;
    };
    static constexpr std::array<Module, 3> kModules{{
        {"Monochrome", 2, 4},
        {"Contrepoids", 5, 7},
        {"Assainisseur", 8, 11},
    }};

    struct Step {
        std::string_view module;
        int step;
        int total;
    };

    static constexpr std::string_view kAccessibleName = "Progression du Configurateur";

    // None before the first module and from the recap on.
    static std::optional<Step> currentStep(int screen);
    // One per module, in the order of kModules.
    static std::array<Indicator, 3> indicators(int screen);
    // "Contrepoids · 2 / 3"; empty outside the modules.
    static std::string caption(int screen);
    // "Module Assainisseur, étape 2 sur 4", or "Tous les modules sont configurés".
    static std::string accessibilityValue(int screen);
};

}  // namespace olvane

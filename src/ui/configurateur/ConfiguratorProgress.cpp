#include "ui/configurateur/ConfiguratorProgress.h"

#include "ui/configurateur/ConfigurateurViewModel.h"

namespace olvane {

std::optional<ConfiguratorProgress::Step> ConfiguratorProgress::currentStep(int screen) {
    if (screen >= ConfigurateurViewModel::kRecapScreen) {
        return std::nullopt;
    }
    for (const Module& module : kModules) {
        if (screen >= module.firstScreen && screen <= module.lastScreen) {
            return Step{module.name, screen - module.firstScreen + 1,
                        module.lastScreen - module.firstScreen + 1};
        }
    }
    return std::nullopt;
}

std::array<ConfiguratorProgress::Indicator, 3> ConfiguratorProgress::indicators(int screen) {
    std::array<Indicator, 3> states{};
    for (std::size_t i = 0; i < kModules.size(); ++i) {
        const Module& module = kModules[i];
        if (screen >= ConfigurateurViewModel::kRecapScreen || screen > module.lastScreen) {
            states[i] = Indicator::done;
        } else if (screen >= module.firstScreen) {
            states[i] = Indicator::current;
        } else {
            states[i] = Indicator::upcoming;
        }
    }
    return states;
}

std::string ConfiguratorProgress::caption(int screen) {
    const auto step = currentStep(screen);
    if (!step) {
        return {};
    }
    return std::string(step->module) + " · " + std::to_string(step->step) + " / " +
           std::to_string(step->total);
}

std::string ConfiguratorProgress::accessibilityValue(int screen) {
    const auto step = currentStep(screen);
    if (!step) {
        return "Tous les modules sont configurés";
    }
    return "Module " + std::string(step->module) + ", étape " + std::to_string(step->step) +
           " sur " + std::to_string(step->total);
}

}  // namespace olvane

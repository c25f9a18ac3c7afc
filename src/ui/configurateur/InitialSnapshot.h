#pragma once

#include <string>
#include <vector>

#include "model/PlatformRules.h"
#include "model/RedListConfig.h"
#include "model/UserSettings.h"

namespace olvane {

// What the wizard can change, as the settings held it when the wizard opened.
struct InitialSnapshot {
    bool wantsGrayscaleEnabled = false;
    std::vector<std::string> grayscaleAllowedApps;
    std::vector<std::string> grayscaleAllowedSites;
    std::vector<RedListConfig> redListConfigs;
    std::vector<PlatformRules> contentFilterRules;

    static InitialSnapshot of(const UserSettings& settings) {
        return {settings.userWantsGrayscaleEnabled, settings.grayscaleAllowedApps,
                settings.grayscaleAllowedSites, settings.redListConfigs,
                settings.contentFilterRules};
    }
};

}  // namespace olvane

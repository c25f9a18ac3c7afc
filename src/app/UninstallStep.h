#pragma once

#include <optional>
#include <string_view>

#include "model/RawValueEnum.h"

namespace olvane {

// The eleven steps of the uninstall, in the order they run; the raw value is the index.
enum class UninstallStep {
    neutralizeEffects,
    stopWatchers,
    pushNeutralRules,
    sendOffCommands,
    removeNativeManifests,
    disableLoginItem,
    unregisterWatchdog,
    clearWatchdogPID,
    deleteDataDirectories,
    clearUserDefaults,
    recycleAndTerminate,
};

// The case names, as the log writes them.
template <>
struct RawValues<UninstallStep> {
    static constexpr std::array<std::string_view, 11> names{
        "neutralizeEffects",     "stopWatchers",      "pushNeutralRules",    "sendOffCommands",
        "removeNativeManifests", "disableLoginItem",  "unregisterWatchdog",  "clearWatchdogPID",
        "deleteDataDirectories", "clearUserDefaults", "recycleAndTerminate",
    };
    static constexpr bool listsAllCases = true;
};

inline constexpr int kUninstallStepCount = static_cast<int>(RawValues<UninstallStep>::names.size());

// The step of raw value `raw` (0 to 10), nullopt for any other number.
std::optional<UninstallStep> uninstallStepFromRaw(int raw);
// The text the progress sheet shows for the step of raw value `raw`; empty for an unknown one.
std::string_view uninstallStepLabel(int raw);
inline std::string_view uninstallStepLabel(UninstallStep step) {
    return uninstallStepLabel(static_cast<int>(step));
}

}  // namespace olvane

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/LastKnownState.h"
#include "platform/KeyValueStore.h"
#include "platform/Observable.h"

namespace olvane {

class ServiceControls;
class SettingsManager;

// Tells at launch whether the previous run ended without its orderly shutdown, and then resets
// what such a run may have left behind (a grey screen, fog windows, the turtle tap). The sign is
// the crash-recovery record, which exists exactly while the application runs: the start-up
// writes it last, the orderly shutdown and the uninstall remove it.
class CrashRecoveryService {
  public:
    CrashRecoveryService(SettingsManager& settings, const platform::KeyValueStore& store,
                         const platform::Observable<bool>& isGrayscaleFilterEnabled,
                         ServiceControls& services);

    // True when the previous run ended abnormally; the effects are reset by then.
    bool performStartupCleanup();
    // A fresh record: the filter as it is now, no effect yet.
    void saveInitialState();
    // Removes the record, so that the next launch counts as clean.
    void recordCleanShutdown();

    bool crashDetected() const { return crashDetected_; }
    // The record found at launch; none when it could not be read.
    const std::optional<LastKnownState>& recoveredState() const { return recoveredState_; }

    // ["fog", "turtle"]: the effects as the log shows them.
    static std::string describeEffects(const std::vector<std::string>& effects);

  private:
    bool recordWasLeft() const;
    void resetEffects();

    SettingsManager& settings_;
    const platform::KeyValueStore& store_;
    const platform::Observable<bool>& isGrayscaleFilterEnabled_;
    ServiceControls& services_;
    bool crashDetected_ = false;
    std::optional<LastKnownState> recoveredState_;
};

}  // namespace olvane

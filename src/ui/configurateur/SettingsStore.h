#pragma once

#include "model/UserSettings.h"

namespace olvane {

// The settings as the wizard reads them at its opening and writes them at its activation.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // Changed in place, then saved.
    virtual UserSettings& settings() = 0;
    // With the stored settings kept as the backup unless `skipBackup`. Logs its own failure.
    virtual bool saveSettings(bool skipBackup) = 0;
};

}  // namespace olvane

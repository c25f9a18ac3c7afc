#pragma once

#include "model/SettingsManager.h"
#include "ui/configurateur/SettingsStore.h"

namespace olvane {

// The settings store over the process's one SettingsManager.
class SettingsManagerStore final : public SettingsStore {
  public:
    explicit SettingsManagerStore(SettingsManager& manager) : manager_(manager) {}

    UserSettings& settings() override { return manager_.settings(); }
    bool saveSettings(bool skipBackup) override { return manager_.saveSettings(skipBackup); }

  private:
    SettingsManager& manager_;
};

}  // namespace olvane

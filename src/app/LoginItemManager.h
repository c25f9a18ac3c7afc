#pragma once

#include "model/SettingsManager.h"
#include "platform/LoginItems.h"
#include "platform/Status.h"

namespace olvane {

// Keeps the application's login item in line with the stored `launchAtLogin`.
class LoginItemManager {
  public:
    LoginItemManager(platform::LoginItems& items, SettingsManager& settings);

    platform::Status enable();
    platform::Status disable();
    // Never fails towards its caller.
    void syncWithSettings();

  private:
    void storeLaunchAtLogin(bool launchAtLogin);

    platform::LoginItems& items_;
    SettingsManager& settings_;
};

}  // namespace olvane

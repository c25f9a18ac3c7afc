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
    // For the uninstall: every entry that would start the application at login goes, the user's
    // own copies of its menu entry included; each removal and failure is logged.
    void removeEveryEntry();

  private:
    void storeLaunchAtLogin(bool launchAtLogin);

    platform::LoginItems& items_;
    SettingsManager& settings_;
};

}  // namespace olvane

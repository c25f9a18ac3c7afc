#pragma once

#include <functional>

#include "platform/LoginItems.h"
#include "platform/Status.h"

namespace olvane {

// Keeps the application's login item in line with the stored `launchAtLogin`.
class LoginItemManager {
  public:
    // Stores a new `launchAtLogin` in the user's settings and saves them with a backup.
    using SettingStore = std::function<void(bool launchAtLogin)>;

    LoginItemManager(platform::LoginItems& items, SettingStore store);

    platform::Status enable();
    platform::Status disable();
    // Never fails towards its caller; `launchAtLogin` is the stored setting.
    void syncWithSettings(bool launchAtLogin);

  private:
    platform::LoginItems& items_;
    SettingStore store_;
};

}  // namespace olvane

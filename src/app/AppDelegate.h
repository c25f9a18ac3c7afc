#pragma once

#include <memory>

#include "app/AppState.h"

namespace olvane {

class CrashRecoveryService;
class MenuBarPresence;
class ServiceControls;
class SettingsManager;

// The application's lifecycle: brings every service up in a fixed order when the program has
// started, and takes them down in a fixed order when it ends, so that the display is left in
// colour and no effect window or event tap survives. Runs on the main thread, each once.
class AppDelegate {
  public:
    AppDelegate(AppState& appState, SettingsManager& settings, CrashRecoveryService& crashRecovery,
                ServiceControls& services, MenuBarPresence& menuBar);
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void performStartup();
    void performShutdown();
    // The shutdown when the display is gone (the session ended under the program): only the steps
    // that need no display run, so that the intention is kept, the colour is put back through the
    // back-ends and the next start counts as clean.
    void performShutdownWithoutDisplay();

    void setupServices();
    // The two pause shortcuts: each pauses the filter when it is on.
    void setupHotkeyCallbacks();
    // Switches the filter on when the user's saved intention is on.
    void restoreGrayscaleIfNeeded();

  private:
    void shutDown(bool displayReachable);
    void startAppMonitoringIfNeeded();
    void pauseFromHotkey(const char* message, std::int64_t seconds);

    AppState& appState_;
    SettingsManager& settings_;
    CrashRecoveryService& crashRecovery_;
    ServiceControls& services_;
    MenuBarPresence& menuBar_;
    // The hotkey callbacks hold this weakly: they do nothing once the delegate is gone.
    std::shared_ptr<AppDelegate*> self_;
};

}  // namespace olvane

#pragma once

#include <memory>

#include "app/AppState.h"
#include "platform/SystemTray.h"
#include "ui/foundation/PageFactory.h"

namespace olvane::ui {

class MainWindow;
class StatusItemController;

// The application's windows and menu-bar presence, and the two actions everything else uses:
// bring the main window forward, and quit.
class ApplicationShell {
  public:
    ApplicationShell(AppState& appState, PageFactory& pages, platform::SystemTray& tray);
    ~ApplicationShell();

    MainWindow& mainWindow() { return *mainWindow_; }
    StatusItemController& statusItems() { return *statusItems_; }

    // The one main window comes back, also after it was closed; never a second one.
    void showMainWindow();
    // Ends the application's event loop, whatever its windows say: the shutdown runs from
    // aboutToQuit. Asked before the loop runs, it ends the loop as soon as it starts.
    void quitApp();

  private:
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<StatusItemController> statusItems_;
};

}  // namespace olvane::ui

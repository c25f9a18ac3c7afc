#include "ui/shell/ApplicationShell.h"

#include <QApplication>

#include "ui/shell/MainWindow.h"
#include "ui/shell/StatusItemController.h"

namespace olvane::ui {

ApplicationShell::ApplicationShell(AppState& appState, PageFactory& pages,
                                   platform::SystemTray& tray)
    : mainWindow_(std::make_unique<MainWindow>(appState, pages)),
      statusItems_(std::make_unique<StatusItemController>(
          appState, tray,
          StatusItemController::Actions{[this] { showMainWindow(); }, [this] { quitApp(); }})) {}

ApplicationShell::~ApplicationShell() = default;

void ApplicationShell::showMainWindow() {
    mainWindow_->bringForward();
}

void ApplicationShell::quitApp() {
    // Not quit(): that one first closes every window and gives up when one refuses.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

}  // namespace olvane::ui

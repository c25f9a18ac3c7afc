#include "ui/shell/ShellOnlyLifecycle.h"

#include "model/Logger.h"
#include "ui/shell/StatusItemController.h"

namespace olvane::ui {

void ShellOnlyLifecycle::performStartup() {
    Logger::app().info("=== OlvaneMac démarrage ===");
    statusItems_.setupMenuBar();
}

void ShellOnlyLifecycle::performShutdown() {
    Logger::app().info("=== OlvaneMac fermeture ===");
}

}  // namespace olvane::ui

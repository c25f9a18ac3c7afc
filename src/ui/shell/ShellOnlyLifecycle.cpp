#include "ui/shell/ShellOnlyLifecycle.h"

#include "app/MenuBarPresence.h"
#include "model/Logger.h"

namespace olvane::ui {

void ShellOnlyLifecycle::performStartup() {
    Logger::app().info("=== OlvaneMac démarrage ===");
    menuBar_.setupMenuBar();
}

void ShellOnlyLifecycle::performShutdown() {
    Logger::app().info("=== OlvaneMac fermeture ===");
}

}  // namespace olvane::ui

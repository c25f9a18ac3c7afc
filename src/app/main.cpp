// Start-up stub of the application: the services and the interface are not built yet, so it only
// shows that the program and its logging run.
#include "model/Logger.h"
#include "platform/LogRouter.h"
#include "platform/Paths.h"
#include "platform/linux/JournalLogSink.h"
#include "platform/linux/StderrLogSink.h"

int main() {
    using namespace olvane;
    Logger::setApplicationIdentifier(platform::Paths::kApplicationId);
    auto& router = platform::LogRouter::instance();
    router.addSink(std::make_shared<platform::os::StderrLogSink>());
    if (auto journal = platform::os::JournalLogSink::createIfAvailable("OlvaneMac")) {
        router.addSink(journal);
    }
    Logger::app().info("=== OlvaneMac démarrage ===");
    Logger::app().notice("Interface pas encore disponible dans cette version : arrêt");
    return 0;
}

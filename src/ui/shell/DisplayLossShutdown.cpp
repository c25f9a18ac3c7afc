#include "ui/shell/DisplayLossShutdown.h"

#include <cstdlib>
#include <memory>
#include <utility>

namespace olvane::ui {
namespace {

// exit() leaves main's frame in place, so what the function reaches is still alive when it runs.
std::function<void()>* gShutDown = nullptr;

extern "C" void runAtExit() {
    if (const std::unique_ptr<std::function<void()>> shutDown(std::exchange(gShutDown, nullptr));
        shutDown) {
        (*shutDown)();
    }
}

}  // namespace

DisplayLossShutdown::DisplayLossShutdown(std::function<void()> shutDown) {
    static bool registered = false;
    if (!std::exchange(registered, true)) {
        std::atexit(runAtExit);
    }
    gShutDown = new std::function<void()>(std::move(shutDown));
}

DisplayLossShutdown::~DisplayLossShutdown() {
    delete std::exchange(gShutDown, nullptr);
}

}  // namespace olvane::ui

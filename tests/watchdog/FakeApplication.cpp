// Stands in for OlvaneMac in the end-to-end tests of the watchdog: writes the PID file, turns
// the simulated display grey, says "ready" and waits. "quit" on standard input is a clean quit
// that removes the PID file but leaves the display grey, so that the watchdog's reset shows.
// With "--ctm" it greys the outputs of the X server through their "CTM" property instead; with
// "--gnome" or "--kwin", the desktop through its own switch. With "--detached-agent <path>" it
// starts that agent itself and keeps it running, as where no user service manager runs.
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "app/WatchdogManager.h"
#include "grayscale/FramebufferService.h"
#include "platform/Paths.h"
#include "platform/linux/DaemonProcesses.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/GnomeZoomSwitch.h"
#include "platform/linux/KWinColourFilterSwitch.h"
#include "platform/linux/RandrCtmDevice.h"
#include "platform/linux/SystemClock.h"
#include "platform/sim/MemoryServiceManager.h"
#include "platform/sim/SimulatedDisplayDevice.h"

namespace {

using namespace olvane;

bool switchOnDesktop(const std::string& mode, const platform::Paths& paths) {
    std::unique_ptr<platform::GrayscaleSwitch> desktop;
    if (mode == "--gnome") {
        desktop = std::make_unique<platform::os::GnomeZoomSwitch>(
            paths, platform::os::GnomeZoomSwitch::MainContext::DispatchBeforeUse);
    } else {
        desktop = std::make_unique<platform::os::KWinColourFilterSwitch>(paths);
    }
    return desktop->load() && desktop->hasSetEnabled() && desktop->setEnabled(true);
}

// Runs the agent's detached life until standard input closes.
int keepDetachedAgent(WatchdogManager& watchdog, platform::os::EpollRunLoop& loop) {
    watchdog.registerAgent();
    std::cout << "ready" << std::endl;
    auto input = loop.watchReadable(STDIN_FILENO, [&loop] {
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) <= 0) {
            loop.quit();
        }
    });
    loop.run();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto paths = platform::Paths::fromProcessEnvironment();
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool detachedAgent = mode == "--detached-agent" && argc > 2;
    platform::os::EpollRunLoop loop;
    platform::sim::MemoryServiceManager services;
    services.setRunning(!detachedAgent);
    platform::os::DaemonProcesses detached(loop);
    platform::os::SystemClock clock;
    WatchdogManager watchdog(paths, services, detached, loop, clock,
                             detachedAgent ? argv[2] : "/nonexistent/OlvaneWatchdog");
    platform::sim::SimulatedDisplayDevice simulated(
        platform::sim::SimulatedDisplayFile::defaultPath(paths));
    platform::os::RandrCtmDevice outputs;
    FramebufferService framebuffer(
        mode == "--ctm" ? static_cast<platform::ColorRemapDevice&>(outputs) : simulated);

    if (mode == "--gnome" || mode == "--kwin") {
        // Before the PID: once the agent follows this run, it has seen the values saved.
        if (!switchOnDesktop(mode, paths)) {
            return 2;
        }
        watchdog.writePID();
    } else {
        watchdog.writePID();
        if (!framebuffer.probe() || !framebuffer.enableGrayscale()) {
            return 2;
        }
    }
    if (detachedAgent) {
        return keepDetachedAgent(watchdog, loop);
    }
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        if (line == "quit") {
            watchdog.clearPID();
            return 0;
        }
    }
    return 0;
}

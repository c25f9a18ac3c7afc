// Stands in for OlvaneMac in the end-to-end tests of the watchdog: writes the PID file, turns
// the simulated display grey, says "ready" and waits. "quit" on standard input is a clean quit
// that removes the PID file but leaves the display grey, so that the watchdog's reset shows.
// With "--ctm" it greys the outputs of the X server through their "CTM" property instead.
#include <iostream>
#include <string>

#include "app/WatchdogManager.h"
#include "grayscale/FramebufferService.h"
#include "platform/Paths.h"
#include "platform/linux/RandrCtmDevice.h"
#include "platform/sim/MemoryServiceManager.h"
#include "platform/sim/SimulatedDisplayDevice.h"

int main(int argc, char** argv) {
    using namespace olvane;
    const auto paths = platform::Paths::fromProcessEnvironment();
    platform::sim::MemoryServiceManager services;
    WatchdogManager watchdog(paths, services, "/nonexistent/OlvaneWatchdog");
    platform::sim::SimulatedDisplayDevice simulated(
        platform::sim::SimulatedDisplayFile::defaultPath(paths));
    platform::os::RandrCtmDevice outputs;
    const bool ctm = argc > 1 && std::string(argv[1]) == "--ctm";
    FramebufferService framebuffer(ctm ? static_cast<platform::ColorRemapDevice&>(outputs)
                                       : simulated);

    watchdog.writePID();
    if (!framebuffer.probe() || !framebuffer.enableGrayscale()) {
        return 2;
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

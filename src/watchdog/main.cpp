// OlvaneWatchdog: puts the displays and the desktop back to colour whenever OlvaneMac ends.
// Started by the user's service manager, with no arguments: logs on standard error, which the
// manager's journal keeps, and never exits on its own. Started by OlvaneMac itself where no
// service manager runs, as "OlvaneWatchdog --pid <its pid>": logs to the journal as well, guards
// that run only, and ends once it has put the colour back.
#include <csignal>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "model/Logger.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/Paths.h"
#include "platform/ProgramSearch.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/GSettingsKeys.h"
#include "platform/linux/GnomeZoomSwitch.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/linux/KWinColourFilterSwitch.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "platform/linux/ProgramLogSinks.h"
#include "platform/linux/RandrCtmDevice.h"
#include "platform/sim/SimulatedDisplayDevice.h"
#include "watchdog/ApplicationDisplay.h"
#include "watchdog/PidFileParser.h"
#include "watchdog/WatchdogAgent.h"

namespace {

// A session of GNOME, or a machine where one may start: the watchdog of the systemd user manager
// starts before the session says what it is.
bool mayRunGnome() {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    for (std::string_view rest = desktops ? desktops : ""; !rest.empty();) {
        const auto end = rest.find(':');
        if (rest.substr(0, end) == "GNOME") {
            return true;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return olvane::platform::findProgramOnPath("gnome-shell").has_value();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace olvane;
    std::optional<pid_t> guarded;
    if (argc == 3 && std::string_view(argv[1]) == "--pid") {
        guarded = parsePidFileText(argv[2]);
        if (!guarded) {
            return 2;
        }
    } else if (argc != 1) {
        return 2;
    }
    // A write to an X server that went away fails instead of ending the agent.
    ::signal(SIGPIPE, SIG_IGN);
    Logger::setApplicationIdentifier(std::string(platform::Paths::kApplicationId) + ".watchdog");
    // Started detached, its standard error goes nowhere.
    platform::os::addProgramLogSinks(guarded ? std::optional<std::string>("OlvaneWatchdog")
                                             : std::nullopt);
    const auto paths = platform::Paths::fromProcessEnvironment();
    platform::os::EpollRunLoop loop;
    if (!loop.valid()) {
        Logger::grayscaleFilter().logError("Boucle d’événements indisponible : watchdog arrêté");
        return 1;
    }
    platform::os::InotifyFileWatcher files(loop);
    platform::os::PidfdProcessWatcher pidfds(loop);
    // Connected to the application's X server while it runs, and resets every output that has a
    // CTM. The crash line is the application's own: nothing here would ever write on it.
    platform::os::RandrCtmDevice outputs(&loop, {}, platform::os::RandrCtmDevice::CrashLine::None);
    DisplayFollowingProcessWatcher processes(pidfds, outputs);
    platform::sim::SimulatedDisplayDevice simulatedDisplay(
        platform::sim::SimulatedDisplayFile::defaultPath(paths));
    std::vector<std::reference_wrapper<platform::ColorRemapDevice>> devices{outputs,
                                                                            simulatedDisplay};

    // GSettings' module as installed with this program: one upgraded meanwhile could not be
    // opened into it at the moment colour must come back. Nor may the session bus going away
    // (GDBus's SIGTERM) end the agent then.
    if (mayRunGnome()) {
        platform::ComposedText failure;
        if (auto* keys = platform::os::GSettingsKeys::shared(&failure)) {
            keys->keepProcessWhenSessionBusCloses();
        } else {
            Logger::grayscaleFilter().logError(
                "Réglages du zoom de GNOME jamais remis à la fin d’OlvaneMac",
                platform::os::gsettingsModuleFailureText(failure));
        }
    }
    // Both desktops' switches: each does something only after the application changed it. The
    // values they give back are known from the start, and then from every change, so that a
    // removal of the data folder just before a crash takes nothing.
    platform::os::GnomeZoomSwitch gnomeZoom(
        paths, platform::os::GnomeZoomSwitch::MainContext::DispatchBeforeUse, &files);
    platform::os::KWinColourFilterSwitch kwinFilter(paths, &loop, &files);
    gnomeZoom.followSavedValues();
    kwinFilter.followSavedValues();
    std::vector<std::reference_wrapper<platform::GrayscaleSwitch>> desktopSwitches{gnomeZoom,
                                                                                   kwinFilter};

    WatchdogAgent agent(loop, files, processes, std::move(devices),
                        paths.dataFolder() / exchange::kWatchdogPidFile,
                        std::move(desktopSwitches));
    if (guarded) {
        agent.guardOnly(*guarded, [&loop] { loop.quit(); });
    } else {
        agent.start();
    }
    loop.run();
    return 0;
}

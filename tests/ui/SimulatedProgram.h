#pragma once

// The composition root over simulated seams and real files in a temporary home, for the tests
// of the pages that reach the program's services.
#include <cstdlib>

#include "app/AppServices.h"
#include "app/MenuBarPresence.h"
#include "platform/LoopFrameClock.h"
#include "platform/linux/FileKeyValueStore.h"
#include "platform/linux/FreedesktopTrash.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryLoginItems.h"
#include "platform/sim/MemoryServiceManager.h"
#include "platform/sim/RecordingDetachedProcesses.h"
#include "platform/sim/ScriptedSystemEvents.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimEventTap.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimGrayscaleSwitch.h"
#include "platform/sim/SimKeyEventSource.h"
#include "platform/sim/SimOverlayWindows.h"
#include "platform/sim/SimSafariExtensionManager.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/SimulatedDisplayDevice.h"
#include "platform/sim/SimulatedDisplayFile.h"
#include "support/TempHome.h"

namespace olvane::test {

class NoMenuBar final : public MenuBarPresence {
  public:
    void setupMenuBar() override {}
    void updateStatusItemIcon() override {}
    void hideExtensionWarning() override {}
};

// The folders of a temporary home whose system data folder is in it too, so that no desktop
// entry of this machine shows.
inline platform::Paths hermeticPathsIn(const TempHome& home) {
    const std::string share = (home.root() / "share").string();
    return platform::Paths([share](const std::string& name) -> std::optional<std::string> {
        if (name == "XDG_DATA_DIRS") {
            return share;
        }
        const char* value = std::getenv(name.c_str());
        return value ? std::optional<std::string>(value) : std::nullopt;
    });
}

// The composition root over simulated seams and real files, defaults.json among them.
struct SimulatedProgram {
    test::TempHome home;
    platform::Paths paths = hermeticPathsIn(home);
    platform::sim::ManualRunLoop loop;
    platform::sim::SimFileWatcher files;
    platform::os::FileKeyValueStore defaults{paths.defaultsFile(), loop.clock()};
    platform::sim::SimulatedDisplayDevice display{
        platform::sim::SimulatedDisplayFile::defaultPath(paths)};
    platform::sim::SimGrayscaleSwitch grayscaleSwitch;
    platform::sim::SimAccessibilityTrust trust{true};
    platform::sim::SimKeyEventSource keys;
    platform::sim::SimWorkspace workspace;
    platform::sim::SimWindowServer windowServer;
    platform::sim::SimEventTap eventTap;
    platform::sim::SimOverlayWindows<FogEffectState> fogWindows;
    platform::LoopFrameClock frameClock{loop, FogEffectService::kMinFrameInterval};
    platform::sim::SimOverlayWindows<DelayPanelState> delayPanels;
    platform::sim::ScriptedSystemEvents systemEvents;
    platform::sim::MemoryServiceManager userServices;
    platform::sim::RecordingDetachedProcesses detachedProcesses;
    platform::sim::MemoryLoginItems loginItems;
    platform::os::FreedesktopTrash trash{paths.trashFolder(), loop.clock()};
    platform::sim::SimSafariExtensionManager safari;
    AppState appState;
    NoMenuBar menuBar;
    AppServices services{PlatformBackends{.loop = loop,
                                          .clock = loop.clock(),
                                          .paths = paths,
                                          .files = files,
                                          .defaults = defaults,
                                          .display = display,
                                          .grayscaleSwitch = grayscaleSwitch,
                                          .accessibilityTrust = trust,
                                          .keys = keys,
                                          .workspace = workspace,
                                          .windowServer = windowServer,
                                          .eventTap = eventTap,
                                          .eventTapTrust = trust,
                                          .fogWindows = fogWindows,
                                          .pointer = eventTap,
                                          .frameClock = frameClock,
                                          .delayPanels = delayPanels,
                                          .systemEvents = systemEvents,
                                          .userServices = userServices,
                                          .detachedProcesses = detachedProcesses,
                                          .loginItems = loginItems,
                                          .trash = trash,
                                          .safariExtensions = safari,
                                          .watchdogExecutable = home.root() / "OlvaneWatchdog",
                                          .hostExecutable = home.root() / "olvanemac-host",
                                          .bundle = ApplicationBundle::locate(
                                              home.root() / "OlvaneMac", std::nullopt, paths)},
                         appState, menuBar, [] {}};
};

}  // namespace olvane::test

#pragma once

#include "app/DesktopGrayscale.h"
#if OLVANE_HAVE_COMPANION
#include "app/CompositorCompanion.h"
#include "app/ShellFogWindows.h"
#endif
#include "app/PlatformBackends.h"
#include "app/PointerInputChoice.h"
#include "platform/AnySystemTray.h"
#include "platform/CompositorStacking.h"
#include "platform/LoopFrameClock.h"
#include "platform/linux/DaemonProcesses.h"
#include "platform/linux/DesktopSystemEvents.h"
#include "platform/linux/FileKeyValueStore.h"
#include "platform/linux/FreedesktopTrash.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/linux/InputAccessTrust.h"
#include "platform/linux/LogindSessionEvents.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "platform/linux/RandrCtmDevice.h"
#include "platform/linux/StatusNotifierHost.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/SystemctlServiceManager.h"
#include "platform/linux/X11KeyEventSource.h"
#include "platform/linux/X11Pointer.h"
#include "platform/linux/X11PointerPresses.h"
#include "platform/linux/X11WindowServer.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XEmbedSystemTray.h"
#include "platform/linux/XdgAutostartLoginItems.h"
#include "platform/sim/ScriptedSystemEvents.h"
#include "platform/sim/SimKeyEventSource.h"
#include "platform/sim/SimOverlayWindows.h"
#include "platform/sim/SimPointerPresses.h"
#include "platform/sim/SimSafariExtensionManager.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/SimulatedDisplayDevice.h"

namespace olvane {

// The effects' windows that the interface draws; the simulated ones serve for those it does not
// give.
struct EffectWindowFactories {
    platform::OverlayWindowFactory<FogEffectState>* fog = nullptr;
    platform::OverlayWindowFactory<DelayPanelState>* delayPanels = nullptr;
};

// The platform of the running program: the Linux implementations where this system has them,
// the simulated ones where it has none yet. The start-up logs each choice, after its banner.

class LinuxPlatform {
  public:
    LinuxPlatform(platform::RunLoop& loop, platform::Paths paths,
                  EffectWindowFactories effectWindows = {});
    LinuxPlatform(const LinuxPlatform&) = delete;
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    PlatformBackends backends();
    // Mouse-downs anywhere in the session, for the interface's outside-click monitors.
    platform::PointerPresses& pointerPresses();
    // Where the compositor's companion keeps the fogs over native windows; null without one.
    platform::CompositorStacking* compositorStacking();
    // The trays the status icon may go in, X11's and the StatusNotifier one.
    platform::SystemTray& systemTray() { return systemTray_; }

    void logChoices();

  private:
    platform::ComposedText displayChoice() const;
    platform::ComposedText windowsChoice() const;
    platform::ComposedText fogChoice() const;
    platform::OverlayWindowFactory<FogEffectState>& fogWindowsOver(
        platform::OverlayWindowFactory<FogEffectState>& interface);
    void logDefaultsProblem() const;
    platform::ColorRemapDevice& display();
    platform::Workspace& workspace();
    platform::WindowServer& windowServer();
    platform::KeyEventSource& keys();
    platform::PointerLocation& pointer();

    platform::RunLoop& loop_;
    platform::Paths paths_;
    platform::os::SystemClock clock_;
    platform::os::InotifyFileWatcher files_;
    platform::os::FileKeyValueStore defaults_;
    platform::sim::SimulatedDisplayDevice simulatedDisplay_;
    platform::os::RandrCtmDevice ctmOutputs_;
    // The outputs with a CTM when the program started; none: the simulated display serves.
    std::vector<std::string> ctmOutputNames_;
    DesktopGrayscale desktopGrayscale_;
    // Null without an X server that has XInput 2.2 and XKB: the simulated keys serve.
    std::unique_ptr<platform::os::X11KeyEventSource> x11Keys_;
    platform::sim::SimKeyEventSource keys_;
    // Null without an X server that has XInput 2.2: only the application's own clicks are seen.
    std::unique_ptr<platform::os::X11PointerPresses> x11Presses_;
    platform::sim::SimPointerPresses presses_;
    // Each null where it cannot be watched (no X server with XFixes; no session bus).
    std::unique_ptr<platform::os::XEmbedSystemTray> xembedTray_;
    std::unique_ptr<platform::os::StatusNotifierHost> statusNotifierHost_;
    platform::AnySystemTray systemTray_;
    platform::os::InputAccessTrust accessibilityTrust_;
    platform::os::PidfdProcessWatcher processes_;
    // Null without an X server and an EWMH window manager: the simulated ones serve.
    std::unique_ptr<platform::os::X11Workspace> x11Workspace_;
    std::unique_ptr<platform::os::X11WindowServer> x11Windows_;
    platform::sim::SimWorkspace workspace_;
    platform::sim::SimWindowServer windowServer_;
    PointerInputChoice pointerInput_;
    // Null without an X server that has XInput 2.2: the fog asks the turtle's pointer input.
    std::unique_ptr<platform::os::X11Pointer> x11Pointer_;
#if OLVANE_HAVE_COMPANION
    // In a Wayland session: the windows as the compositor's companion reports them, over the
    // views above.
    std::unique_ptr<CompositorCompanion> companion_;
    // The fog drawn inside GNOME Shell while its companion reports, over the interface's.
    std::unique_ptr<ShellFogWindows> shellFog_;
#endif
    platform::sim::SimOverlayWindows<FogEffectState> simulatedFogWindows_;
    platform::sim::SimOverlayWindows<DelayPanelState> simulatedDelayPanels_;
    platform::OverlayWindowFactory<FogEffectState>& fogWindows_;
    platform::OverlayWindowFactory<DelayPanelState>& delayPanels_;
    platform::LoopFrameClock frameClock_;
    platform::sim::ScriptedSystemEvents scriptedEvents_;
    // Null without a system bus or logind: the scripted events serve.
    std::unique_ptr<platform::os::LogindSessionEvents> logind_;
    platform::os::DesktopSystemEvents systemEvents_;
    platform::os::SystemctlServiceManager userServices_;
    platform::os::DaemonProcesses detachedProcesses_;
    platform::os::XdgAutostartLoginItems loginItems_;
    platform::os::FreedesktopTrash trash_;
    platform::sim::SimSafariExtensionManager safariExtensions_;
    std::filesystem::path watchdogExecutable_;
    std::filesystem::path hostExecutable_;
    ApplicationBundle bundle_;
};

}  // namespace olvane

#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ComposedText.h"
#include "platform/FileWatcher.h"
#include "platform/GrayscaleSwitch.h"
#include "platform/Paths.h"
#include "platform/RunLoop.h"
#include "platform/linux/KWinVersion.h"
#include "platform/sim/SimGrayscaleSwitch.h"

namespace olvane {

// What the session offers for turning the screen grey, as found when the program starts.
struct GrayscaleDesktop {
    bool ctmOutputs = false;    // some X11 output has a "CTM" property
    bool gnomeShell = false;    // the Shell owns org.gnome.Shell on the session bus
    bool gnomeSchemas = false;  // the zoom's schemas are installed
    std::optional<platform::os::KWinVersion> kwin;  // the version org.kde.KWin states
    // Why the module that reaches GSettings could not be opened; empty when it was, or was not
    // needed.
    platform::ComposedText gsettingsModuleFailure;
};

// Which colour-remap device and which desktop switch serve the filter, and the words of the log.
struct GrayscaleRoute {
    // The framebuffer path goes through the RandR CTM device whenever the simulated display does
    // not serve; without a CTM its probe fails, and the desktop's switch takes over.
    enum class Display : std::uint8_t { RandrCtm, Simulated };
    enum class Switch : std::uint8_t { GnomeZoom, KWinColourFilter, Simulated, Unavailable };

    Display display = Display::Simulated;
    Switch desktopSwitch = Switch::Simulated;
    platform::ComposedText description;

    static GrayscaleRoute choose(const GrayscaleDesktop& desktop);
};

// The desktop's own grayscale switch for this run: GNOME's zoom, KWin's colour filter, or the
// simulated one. Even while a CTM serves the filter, a desktop switch stays chosen, so that the
// forced reset after a crash still gives back a screen that an earlier run left grey.
class DesktopGrayscale {
  public:
    // Looks at the session bus and the installed schemas. The loop and the file watcher let the
    // switch see the user turn the desktop's grayscale off by other means.
    DesktopGrayscale(const platform::Paths& paths, bool ctmOutputs, platform::RunLoop& loop,
                     platform::FileWatcher& files);

    const GrayscaleRoute& route() const { return route_; }
    platform::GrayscaleSwitch& grayscaleSwitch();

  private:
    GrayscaleRoute route_;
    std::unique_ptr<platform::GrayscaleSwitch> desktop_;
    platform::sim::SimGrayscaleSwitch simulated_;
};

}  // namespace olvane

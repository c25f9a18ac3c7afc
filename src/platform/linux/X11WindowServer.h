#pragma once

#include <map>
#include <memory>

#include "platform/Handle.h"
#include "platform/RunLoop.h"
#include "platform/WindowServer.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// Windows from the EWMH window manager's stacking list, screens from RandR. The window list is
// kept current by the server's events (stacking, properties, moves, maps): the fog's frequent
// asking costs no round trip while nothing changes.
class X11WindowServer final : public WindowServer {
  public:
    // Null when no X server answers.
    static std::unique_ptr<X11WindowServer> create(RunLoop& loop, const std::string& display = {});
    ~X11WindowServer() override;

    std::optional<std::vector<WindowInfo>> windowList(WindowListScope scope) override;
    std::vector<Screen> screens() override;

  private:
    struct Described {
        std::optional<WindowInfo> info;
        bool current = false;
    };

    X11WindowServer(RunLoop& loop, std::unique_ptr<X11Connection> x);
    void handleEvent(const xcb_generic_event_t& event);
    void handlePropertyChange(const xcb_property_notify_event_t& change);
    void markStale(xcb_window_t window);
    // False when the window server cannot be asked.
    bool refreshStacking();
    const std::optional<WindowInfo>& described(xcb_window_t window);
    std::optional<WindowInfo> describe(xcb_window_t window);

    std::unique_ptr<X11Connection> x_;
    std::optional<std::vector<xcb_window_t>> stacking_;
    bool stackingCurrent_ = false;
    std::map<xcb_window_t, Described> windows_;
    bool askedServer_ = false;
    Handle events_;
};

}  // namespace olvane::platform::os

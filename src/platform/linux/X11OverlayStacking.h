#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Handle.h"
#include "platform/RunLoop.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// Keeps the effects' windows where they belong while other windows come forward: a fog window
// right above the window it covers, a waiting panel above every other window. It restacks them
// whenever the windows of the session are restacked, mapped or moved: itself where they are out
// of the window manager's hands, else by asking the window manager.
class X11OverlayStacking {
  public:
    // Null when no X server answers.
    static std::unique_ptr<X11OverlayStacking> create(RunLoop& loop,
                                                      const std::string& display = {});
    ~X11OverlayStacking();
    X11OverlayStacking(const X11OverlayStacking&) = delete;
    X11OverlayStacking& operator=(const X11OverlayStacking&) = delete;

    // `window`, a child of the root, stays right above the top-level window of `target`.
    Handle keepJustAbove(xcb_window_t window, xcb_window_t target);
    // `window`, which the window manager manages, transient for `target`, stays right above it,
    // revealed once there when shown concealed. Mutter shows a window that takes no focus right
    // under the focused one, KWin above every other, where a fog would cover the windows between
    // its target and those.
    Handle keepManagedJustAbove(xcb_window_t window, xcb_window_t target);
    // `window` stays above every window but these overlays.
    Handle keepOnTop(xcb_window_t window);
    // Looks at the stacking order again soon (after a window was shown).
    void restackSoon();

  private:
    struct Kept {
        xcb_window_t window;
        std::optional<xcb_window_t> target;
        bool managed = false;
        // A managed window was put in its place once shown.
        bool placed = false;
        bool revealed = false;
    };

    X11OverlayStacking(RunLoop& loop, std::unique_ptr<X11Connection> x);
    Handle keep(Kept kept);
    void handleEvent(const xcb_generic_event_t& event);
    void scheduleRestack();
    void restack();
    // Whether it asked the window manager for a change.
    bool restackManaged(Kept& kept);

    RunLoop& loop_;
    std::unique_ptr<X11Connection> x_;
    xcb_atom_t managedOrder_ = XCB_ATOM_NONE;
    std::map<std::uint64_t, Kept> kept_;
    std::uint64_t nextId_ = 1;
    // A window manager may refuse a restack and say so by restacking as before: the same order
    // is acted on a few times only, which ends any back and forth.
    static constexpr int kMaxRepeats = 3;
    std::vector<xcb_window_t> actedOn_;
    int repeats_ = 0;
    Handle pending_;
    Handle events_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace olvane::platform::os

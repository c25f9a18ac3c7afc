#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "platform/RunLoop.h"

class QWidget;

namespace olvane::platform::os {
class X11Connection;
class X11OverlayClickFocus;
class X11OverlayStacking;
}  // namespace olvane::platform::os

namespace olvane::ui {

// What the effects' windows must be on X11 beyond what Qt's flags say: out of the taskbar and
// pager, never focused; a panel above the others on every desktop, a fog right above its target
// and letting clicks through; and each stays where it belongs in the stacking order.
class X11EffectWindows {
  public:
    // Null when Qt does not draw through X11 (offscreen, Wayland without XWayland).
    static std::unique_ptr<X11EffectWindows> create(platform::RunLoop& loop);
    ~X11EffectWindows();
    X11EffectWindows(const X11EffectWindows&) = delete;
    X11EffectWindows& operator=(const X11EffectWindows&) = delete;

    // Where the window stands, in the server's pixels; absent when it has no X window yet.
    std::optional<platform::Rect> frameOf(const QWidget& window);
    // Puts the window at `frame`, in the server's pixels: Qt's whole logical pixels miss an odd
    // one at 200 %. Qt reads the window's place back from the server.
    void place(QWidget& window, const platform::Rect& frame);
    // Before the window is first shown.
    void dressAsPanel(QWidget& window);
    // Whether a fog must be a window the window manager manages, transient for its target
    // (where it draws unmanaged windows above all others), rather than one out of its hands.
    bool fogMustBeManaged();
    // A managed fog (a Qt::Tool window), before it is first shown.
    void dressAsManagedFog(QWidget& window);
    // While the handle lives, a click through the managed fog gives `target` the focus where
    // the window manager would give it to the fog (under Xwayland).
    platform::Handle passClickFocus(QWidget& window, std::uint32_t target);
    // The same for a target X11 cannot name (a native Wayland window), which `giveFocus` gives
    // the focus.
    platform::Handle passClickFocus(QWidget& window, std::function<void()> giveFocus);
    // Asks the window manager to put the window above every other of its layer.
    void raiseToTop(QWidget& window);
    // Shows it transient for `target`, its top-level X window (none when 0), writing nothing on
    // the target; concealed until kept right above it (keepJustAbove) when there is one.
    void showManagedFog(QWidget& window, std::uint32_t target);
    void dressAsUnmanagedFog(QWidget& window);
    // Sends what Qt has queued for the server: changes made outside its handling of X events
    // wait for the next one otherwise.
    void sendRequests();
    // While the handle lives.
    platform::Handle keepOnTop(QWidget& window);
    // A fog right above its target.
    platform::Handle keepJustAbove(QWidget& window, std::uint32_t target, bool managed);

  private:
    class FocusOffers;

    X11EffectWindows(std::unique_ptr<platform::os::X11Connection> qt,
                     std::unique_ptr<platform::os::X11OverlayStacking> stacking,
                     std::unique_ptr<platform::os::X11OverlayClickFocus> clickFocus);

    // Qt's own connection: requests on the windows Qt made reach the server after it made them.
    std::unique_ptr<platform::os::X11Connection> qt_;
    std::unique_ptr<platform::os::X11OverlayStacking> stacking_;
    // Under Xwayland only, and the offers of focus that come to Qt's windows.
    std::unique_ptr<platform::os::X11OverlayClickFocus> clickFocus_;
    std::unique_ptr<FocusOffers> focusOffers_;
};

}  // namespace olvane::ui

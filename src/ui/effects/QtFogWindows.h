#pragma once

#include <optional>

#include "friction/FogEffectState.h"
#include "platform/CompositorStacking.h"
#include "platform/OverlayWindow.h"

namespace olvane::ui {

class X11EffectWindows;

// The fog's overlays as Qt windows: frameless, letting every click through to the target, never
// focused, out of the taskbar and the window switcher, each kept right above the window it
// covers. Whether a compositor draws translucent windows, and whether the window manager must
// manage the fog to keep it there, are asked at each new overlay; the log says which way the fog
// is drawn and kept, again when that changes.
class QtFogWindows final : public platform::OverlayWindowFactory<FogEffectState> {
  public:
    // `x11` may be null (no X11): Qt's flags alone then.
    explicit QtFogWindows(X11EffectWindows* x11) : x11_(x11) {}

    // Where the compositor's companion keeps fogs over the windows X11 cannot name (may be
    // null); it must outlive the fogs.
    void setCompositorStacking(platform::CompositorStacking* stacking) { compositor_ = stacking; }

    std::unique_ptr<platform::OverlayWindow> createOverlay(const platform::Rect& frame,
                                                           FogEffectState& state) override;

  private:
    bool translucentWindowsAreDrawn();
    bool fogMustBeManaged();

    X11EffectWindows* x11_;
    platform::CompositorStacking* compositor_ = nullptr;
    std::optional<bool> translucentBefore_;
    std::optional<bool> managedBefore_;
};

}  // namespace olvane::ui

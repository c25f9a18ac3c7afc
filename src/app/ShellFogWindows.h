#pragma once

#include <optional>

#include "friction/FogEffectState.h"
#include "platform/OverlayWindow.h"
#include "platform/linux/compositor/CompanionLink.h"
#include "platform/linux/compositor/CompanionWindows.h"

namespace olvane {

// The fog of a GNOME Shell Wayland session, drawn inside the Shell by its companion over the
// window it covers: stacked, moved, hidden and taken to other workspaces with it by the
// compositor, and no surface of ours for the pointer to meet, so that every click goes to the
// window. OlvaneMac works the fog's cells out (FogCells, as for its own windows) and the Shell
// enlarges them smoothly; an update goes each time the companion is ready for one, so that the
// compositor sets the pace. Without that companion, `otherwise` makes the overlays. The log says
// which way the fog goes, again when that changes.
class ShellFogWindows final : public platform::OverlayWindowFactory<FogEffectState> {
  public:
    ShellFogWindows(platform::os::CompanionLink& link, platform::os::CompanionWindows& windows,
                    platform::OverlayWindowFactory<FogEffectState>& otherwise)
        : link_(link), windows_(windows), otherwise_(otherwise) {}

    std::unique_ptr<platform::OverlayWindow> createOverlay(const platform::Rect& frame,
                                                           FogEffectState& state) override;

  private:
    bool shellDraws();

    platform::os::CompanionLink& link_;
    platform::os::CompanionWindows& windows_;
    platform::OverlayWindowFactory<FogEffectState>& otherwise_;
    std::optional<bool> shellDrewBefore_;
    int nextId_ = 1;
};

}  // namespace olvane

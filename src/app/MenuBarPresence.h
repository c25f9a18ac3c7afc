#pragma once

namespace olvane {

// The application's item in the menu bar, as the start-up and the shutdown drive it; the
// interface implements it.
class MenuBarPresence {
  public:
    virtual ~MenuBarPresence() = default;

    // The item, its popover and the extension warning panel, once.
    virtual void setupMenuBar() = 0;
    virtual void updateStatusItemIcon() = 0;
    // Hides the extension warning panel, if there is one, without reporting a dismissal.
    virtual void hideExtensionWarning() = 0;
};

}  // namespace olvane

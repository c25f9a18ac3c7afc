#pragma once

#include "ui/shell/ApplicationLifecycle.h"

namespace olvane {
class MenuBarPresence;
}

namespace olvane::ui {

// Start-up and shutdown of a program whose services are not part of it yet: the banners and the
// menu-bar item, nothing that would claim work not done.
class ShellOnlyLifecycle final : public ApplicationLifecycle {
  public:
    explicit ShellOnlyLifecycle(MenuBarPresence& menuBar) : menuBar_(menuBar) {}

    void performStartup() override;
    void performShutdown() override;

  private:
    MenuBarPresence& menuBar_;
};

}  // namespace olvane::ui

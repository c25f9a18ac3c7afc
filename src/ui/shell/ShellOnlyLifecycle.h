#pragma once

#include "ui/shell/ApplicationLifecycle.h"

namespace olvane::ui {

class StatusItemController;

// Start-up and shutdown of a program whose services are not part of it yet: the banners and the
// menu-bar item, nothing that would claim work not done.
class ShellOnlyLifecycle final : public ApplicationLifecycle {
  public:
    explicit ShellOnlyLifecycle(StatusItemController& statusItems) : statusItems_(statusItems) {}

    void performStartup() override;
    void performShutdown() override;

  private:
    StatusItemController& statusItems_;
};

}  // namespace olvane::ui

#pragma once

#include "ui/configurateur/GrayscaleControl.h"

namespace olvane {
class AppServices;
}

namespace olvane::ui {

// The wizard's grayscale control over the program's grayscale filter, made on first use.
class GrayscaleServiceControl final : public GrayscaleControl {
  public:
    explicit GrayscaleServiceControl(AppServices& services) : services_(services) {}

    void enable() override;
    void disable() override;
    void publishAllowedSites() override;

  private:
    AppServices& services_;
};

}  // namespace olvane::ui

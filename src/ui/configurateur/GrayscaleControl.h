#pragma once

namespace olvane {

// The grayscale filter as the activation switches it.
class GrayscaleControl {
  public:
    virtual ~GrayscaleControl() = default;

    // Both store the user's wish and save the settings.
    virtual void enable() = 0;
    virtual void disable() = 0;
    // Writes the allowed sites of the stored settings into the rules file, for the browser side.
    virtual void publishAllowedSites() = 0;
};

}  // namespace olvane

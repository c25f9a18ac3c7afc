#pragma once

namespace olvane::platform {

// The desktop's own grayscale switch, reached through a library loaded at run time.
class GrayscaleSwitch {
  public:
    virtual ~GrayscaleSwitch() = default;
    // Loads the library; false when it cannot be loaded.
    virtual bool load() = 0;
    // Looks the switch up in the loaded library.
    virtual bool hasSetEnabled() = 0;
    // Only after hasSetEnabled() answered true.
    virtual void setEnabled(bool on) = 0;
};

}  // namespace olvane::platform

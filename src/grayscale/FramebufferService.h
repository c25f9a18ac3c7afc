#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ColorRemapDevice.h"

namespace olvane {

// The preferred grayscale back-end: the built-in display's colour-remap mode (2 grayscale,
// 0 colour) through the framebuffer driver. Probed once at start-up; usable when isAvailable().
class FramebufferService {
  public:
    explicit FramebufferService(platform::ColorRemapDevice& device);
    ~FramebufferService();
    FramebufferService(const FramebufferService&) = delete;
    FramebufferService& operator=(const FramebufferService&) = delete;

    bool isAvailable() const { return isAvailable_; }

    // Loads the driver, finds and opens the built-in display; true when the back-end is usable.
    bool probe();
    // The first framebuffer service that is not external.
    std::optional<std::string> findBuiltInDisplay();
    bool enableGrayscale();
    bool disableGrayscale();
    // Colour on every framebuffer service, built in or not: mode 0 after grey this run wrote,
    // else only where a service holds our own grayscale.
    void forceDisable();
    // Colour back where the display holds our own grayscale, which a run that could not put it
    // back left there; any other setting stays.
    void resetLeftoverGrayscale();
    // Reads the main display's transfer table and writes it back unchanged.
    void refreshDisplay();

    // Whether the mode can be read back, and the mode read (after wake).
    bool canReadMode() const { return isAvailable_ && hasGetMode_; }
    std::optional<std::uint32_t> readMode();

    static void installSignalHandlers();

  private:
    bool writeMode(std::uint32_t mode);
    bool openBuiltInDisplay();

    platform::ColorRemapDevice& device_;
    bool isAvailable_ = false;
    bool driverLoaded_ = false;  // the driver and its Open/Set calls are there
    bool hasGetMode_ = false;
    platform::RemapConnection connection_ = 0;
    std::optional<std::string> displayService_;
};

}  // namespace olvane

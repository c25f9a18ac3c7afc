#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace olvane::platform {

// The status of a colour-remap call: 0 on success, anything else is the device's failure code.
using RemapStatus = std::int32_t;

namespace remap {
inline constexpr RemapStatus kSuccess = 0;
inline constexpr RemapStatus kFailed = -1;       // the device could not do it (I/O, protocol)
inline constexpr RemapStatus kNotFound = -2;     // no such service, or it went away
inline constexpr RemapStatus kUnsupported = -3;  // not offered by this device
inline constexpr RemapStatus kBadArgument = -4;  // no connection, unknown connection
}  // namespace remap

// Colour-remap modes written by this system.
inline constexpr std::uint32_t kRemapModeColour = 0;
inline constexpr std::uint32_t kRemapModeGrayscale = 2;

// An open connection to one framebuffer service; 0 is none.
using RemapConnection = std::uintptr_t;

// Writes a mode on a connection with async-signal-safe calls only, for the crash handlers. A
// device may serve only mode 0 this way.
using SignalSafeSetMode = RemapStatus (*)(RemapConnection connection, std::uint32_t mode);

// What a framebuffer service says of its "external" property.
enum class ExternalProperty : std::uint8_t { Absent, NotBoolean, False, True };

struct FramebufferServiceEntry {
    std::string service;  // opaque to callers, stable while the service exists
    ExternalProperty external = ExternalProperty::Absent;
};

// The outcome of loading the device's driver.
struct RemapLoadResult {
    enum class Outcome : std::uint8_t { Loaded, FrameworkMissing, SymbolsMissing };
    Outcome outcome = Outcome::FrameworkMissing;
    std::string error;        // the loader's text when the driver is missing
    bool hasGetMode = false;  // reading the mode back is optional

    static RemapLoadResult loaded(bool hasGetMode) { return {Outcome::Loaded, {}, hasGetMode}; }
    static RemapLoadResult frameworkMissing(std::string error) {
        return {Outcome::FrameworkMissing, std::move(error), false};
    }
    static RemapLoadResult symbolsMissing() { return {Outcome::SymbolsMissing, {}, false}; }
};

// A display's gamma ramps, 256 entries per channel at most.
struct TransferTable {
    std::array<float, 256> red{};
    std::array<float, 256> green{};
    std::array<float, 256> blue{};
    std::uint32_t sampleCount = 0;
};

// The displays' colour-remap (the framebuffer driver): the services of the framebuffer class,
// each with its "external" property, connections to them and their mode. Services work once
// load() said Loaded; unload() undoes one load().
class ColorRemapDevice {
  public:
    virtual ~ColorRemapDevice() = default;

    virtual RemapLoadResult load() = 0;
    virtual void unload() = 0;

    // Every service of the framebuffer class, built in or external; nullopt when the lookup
    // itself failed.
    virtual std::optional<std::vector<FramebufferServiceEntry>> matchServices() = 0;
    virtual RemapStatus open(const std::string& service, RemapConnection& connection) = 0;
    virtual void close(RemapConnection connection) = 0;
    virtual RemapStatus setMode(RemapConnection connection, std::uint32_t mode) = 0;
    // Only when load() reported hasGetMode.
    virtual RemapStatus getMode(RemapConnection connection, std::uint32_t& mode) = 0;
    // Puts colour back where the service holds this system's own grayscale, and leaves any other
    // setting as it is; `reset` counts the displays put back. A device with several displays
    // behind one service judges each alone. Only when load() reported hasGetMode.
    virtual RemapStatus resetOwnGrayscale(RemapConnection connection, long& reset) {
        reset = 0;
        std::uint32_t mode = kRemapModeColour;
        auto status = getMode(connection, mode);
        if (status == remap::kSuccess && mode == kRemapModeGrayscale) {
            status = setMode(connection, kRemapModeColour);
            reset = status == remap::kSuccess ? 1 : 0;
        }
        return status;
    }
    // Colour back on the service: with `onlyOurs` (the mode must be readable) only this system's
    // own grayscale goes, as resetOwnGrayscale; without, mode 0 whatever was there.
    RemapStatus resetToColour(RemapConnection connection, bool onlyOurs, long& reset) {
        if (onlyOurs) {
            return resetOwnGrayscale(connection, reset);
        }
        const auto status = setMode(connection, kRemapModeColour);
        reset = status == remap::kSuccess ? 1 : 0;
        return status;
    }
    // Stays valid, with the connections it is given, as long as the device and the connection.
    virtual SignalSafeSetMode signalSafeSetMode() const = 0;

    // The main display's transfer table; reading it and writing it back makes the display
    // take a new mode at once.
    virtual std::optional<TransferTable> readMainDisplayTransfer() = 0;
    virtual void writeMainDisplayTransfer(const TransferTable& table) = 0;
};

}  // namespace olvane::platform

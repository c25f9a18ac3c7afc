#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/ColorRemapDevice.h"
#include "platform/sim/SimulatedDisplayFile.h"

namespace olvane::platform::sim {

// A colour-remap device whose displays live in the simulated display file, so that a second
// process (the watchdog) sees and resets the same displays. Every write replaces the file whole.
class SimulatedDisplayDevice final : public ColorRemapDevice {
  public:
    explicit SimulatedDisplayDevice(std::filesystem::path file);
    ~SimulatedDisplayDevice() override;
    SimulatedDisplayDevice(const SimulatedDisplayDevice&) = delete;
    SimulatedDisplayDevice& operator=(const SimulatedDisplayDevice&) = delete;

    const std::filesystem::path& file() const { return file_; }

    RemapLoadResult load() override;
    void unload() override {}
    std::optional<std::vector<FramebufferServiceEntry>> matchServices() override;
    RemapStatus open(const std::string& service, RemapConnection& connection) override;
    void close(RemapConnection connection) override;
    RemapStatus setMode(RemapConnection connection, std::uint32_t mode) override;
    RemapStatus getMode(RemapConnection connection, std::uint32_t& mode) override;
    SignalSafeSetMode signalSafeSetMode() const override;
    std::optional<TransferTable> readMainDisplayTransfer() override;
    void writeMainDisplayTransfer(const TransferTable&) override {}

  private:
    struct Connection;

    static RemapStatus resetFromSignal(RemapConnection connection, std::uint32_t mode);
    Connection* find(RemapConnection connection) const;
    // Prepares, for every open connection, the file that resetting its display would leave.
    void prepareSignalImages(const SimulatedDisplayFile& state);

    std::filesystem::path file_;
    std::vector<std::unique_ptr<Connection>> connections_;
};

}  // namespace olvane::platform::sim

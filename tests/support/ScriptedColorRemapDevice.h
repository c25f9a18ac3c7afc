#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ColorRemapDevice.h"

namespace olvane::test {

// A colour-remap device that plays a script: what loading gives, which services exist, which
// calls fail with which code. It records every mode written.
class ScriptedColorRemapDevice final : public platform::ColorRemapDevice {
  public:
    struct Write {
        std::string service;
        std::uint32_t mode;
        bool operator==(const Write&) const = default;
    };

    ScriptedColorRemapDevice();

    // The script.
    platform::RemapLoadResult loadResult = platform::RemapLoadResult::loaded(true);
    // nullopt: the lookup fails.
    std::optional<std::vector<platform::FramebufferServiceEntry>> services;
    std::map<std::string, platform::RemapStatus> openStatus;  // by service; absent: success
    platform::RemapStatus setStatus = platform::remap::kSuccess;
    platform::RemapStatus getStatus = platform::remap::kSuccess;
    bool transferReadable = true;

    // What happened.
    std::map<std::string, std::uint32_t> modes;  // by service
    std::vector<Write> writes;
    std::vector<Write> signalWrites;
    int loadCount = 0;
    int unloadCount = 0;
    int transferReads = 0;
    int transferWrites = 0;
    std::size_t openConnections() const { return connections_.size(); }

    platform::RemapLoadResult load() override;
    void unload() override { ++unloadCount; }
    std::optional<std::vector<platform::FramebufferServiceEntry>> matchServices() override {
        return services;
    }
    platform::RemapStatus open(const std::string& service,
                               platform::RemapConnection& connection) override;
    void close(platform::RemapConnection connection) override;
    platform::RemapStatus setMode(platform::RemapConnection connection,
                                  std::uint32_t mode) override;
    platform::RemapStatus getMode(platform::RemapConnection connection,
                                  std::uint32_t& mode) override;
    platform::SignalSafeSetMode signalSafeSetMode() const override { return &recordSignalWrite; }
    std::optional<platform::TransferTable> readMainDisplayTransfer() override;
    void writeMainDisplayTransfer(const platform::TransferTable&) override { ++transferWrites; }

    // The service behind a connection, empty when unknown.
    std::string serviceOf(platform::RemapConnection connection) const;

  private:
    struct Connection {
        ScriptedColorRemapDevice* device;
        std::string service;
    };
    static platform::RemapStatus recordSignalWrite(platform::RemapConnection connection,
                                                   std::uint32_t mode);
    const Connection* find(platform::RemapConnection connection) const;

    std::vector<std::unique_ptr<Connection>> connections_;
};

}  // namespace olvane::test

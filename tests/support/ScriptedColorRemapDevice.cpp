#include "support/ScriptedColorRemapDevice.h"

#include <algorithm>

namespace olvane::test {

using platform::RemapConnection;
using platform::RemapStatus;
namespace remap = platform::remap;

ScriptedColorRemapDevice::ScriptedColorRemapDevice()
    : services(std::vector<platform::FramebufferServiceEntry>{
          {"builtin", platform::ExternalProperty::False}}) {}

platform::RemapLoadResult ScriptedColorRemapDevice::load() {
    ++loadCount;
    return loadResult;
}

RemapStatus ScriptedColorRemapDevice::open(const std::string& service,
                                           RemapConnection& connection) {
    if (const auto it = openStatus.find(service); it != openStatus.end() && it->second != 0) {
        return it->second;
    }
    connections_.push_back(std::make_unique<Connection>(Connection{this, service}));
    connection = reinterpret_cast<RemapConnection>(connections_.back().get());
    return remap::kSuccess;
}

void ScriptedColorRemapDevice::close(RemapConnection connection) {
    std::erase_if(connections_, [&](const auto& c) {
        return reinterpret_cast<RemapConnection>(c.get()) == connection;
    });
}

const ScriptedColorRemapDevice::Connection* ScriptedColorRemapDevice::find(
    RemapConnection connection) const {
    const auto it = std::find_if(connections_.begin(), connections_.end(), [&](const auto& c) {
        return reinterpret_cast<RemapConnection>(c.get()) == connection;
    });
    return it == connections_.end() ? nullptr : it->get();
}

std::string ScriptedColorRemapDevice::serviceOf(RemapConnection connection) const {
    const auto* c = find(connection);
    return c ? c->service : std::string();
}

RemapStatus ScriptedColorRemapDevice::setMode(RemapConnection connection, std::uint32_t mode) {
    const auto* c = find(connection);
    if (!c) {
        return remap::kBadArgument;
    }
    if (setStatus != remap::kSuccess) {
        return setStatus;
    }
    modes[c->service] = mode;
    writes.push_back({c->service, mode});
    return remap::kSuccess;
}

RemapStatus ScriptedColorRemapDevice::getMode(RemapConnection connection, std::uint32_t& mode) {
    const auto* c = find(connection);
    if (!c) {
        return remap::kBadArgument;
    }
    if (getStatus != remap::kSuccess) {
        return getStatus;
    }
    const auto it = modes.find(c->service);
    mode = it == modes.end() ? 0 : it->second;
    return remap::kSuccess;
}

RemapStatus ScriptedColorRemapDevice::recordSignalWrite(RemapConnection connection,
                                                        std::uint32_t mode) {
    auto* c = reinterpret_cast<Connection*>(connection);
    c->device->signalWrites.push_back({c->service, mode});
    return remap::kSuccess;
}

std::optional<platform::TransferTable> ScriptedColorRemapDevice::readMainDisplayTransfer() {
    ++transferReads;
    if (!transferReadable) {
        return std::nullopt;
    }
    return platform::TransferTable{};
}

}  // namespace olvane::test

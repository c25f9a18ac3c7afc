#include "platform/sim/SimulatedDisplayDevice.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/Descriptor.h"

namespace olvane::platform::sim {

// The crash handlers cannot parse or allocate, so each connection keeps, ready to write, the
// file with its display back in mode 0. Two buffers: the one being rebuilt is never the one a
// handler may be reading.
struct SimulatedDisplayDevice::Connection {
    std::string display;
    std::string path;
    std::string temporaryPath;
    std::string images[2];
    std::atomic<const std::string*> resetImage{nullptr};

    void publish(std::string image) {
        const std::string* current = resetImage.load();
        std::string& spare = current == &images[0] ? images[1] : images[0];
        spare = std::move(image);
        resetImage.store(&spare);
    }
};

namespace {

static_assert(std::atomic<const std::string*>::is_always_lock_free);

}  // namespace

// Only open, write, fsync, close and rename: all async-signal-safe.
RemapStatus SimulatedDisplayDevice::resetFromSignal(RemapConnection handle, std::uint32_t mode) {
    if (handle == 0) {
        return remap::kBadArgument;
    }
    if (mode != kRemapModeColour) {
        return remap::kUnsupported;
    }
    const auto* connection = reinterpret_cast<const Connection*>(handle);
    const std::string* image = connection->resetImage.load();
    if (!image) {
        return remap::kFailed;
    }
    const int fd =
        ::open(connection->temporaryPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return remap::kFailed;
    }
    const bool written = writeAllToDescriptor(fd, *image) && ::fsync(fd) == 0;
    ::close(fd);
    if (!written || ::rename(connection->temporaryPath.c_str(), connection->path.c_str()) != 0) {
        ::unlink(connection->temporaryPath.c_str());
        return remap::kFailed;
    }
    return remap::kSuccess;
}

SimulatedDisplayDevice::SimulatedDisplayDevice(std::filesystem::path file)
    : file_(std::move(file)) {}

SimulatedDisplayDevice::~SimulatedDisplayDevice() = default;

RemapLoadResult SimulatedDisplayDevice::load() {
    return RemapLoadResult::loaded(true);
}

std::optional<std::vector<FramebufferServiceEntry>> SimulatedDisplayDevice::matchServices() {
    const auto state = SimulatedDisplayFile::read(file_);
    if (!state) {
        return std::nullopt;
    }
    std::vector<FramebufferServiceEntry> services;
    for (const auto& id : state->displayIds()) {
        services.push_back({id, state->external(id).value_or(ExternalProperty::Absent)});
    }
    return services;
}

SimulatedDisplayDevice::Connection* SimulatedDisplayDevice::find(RemapConnection handle) const {
    const auto it = std::find_if(connections_.begin(), connections_.end(), [&](const auto& c) {
        return reinterpret_cast<RemapConnection>(c.get()) == handle;
    });
    return it == connections_.end() ? nullptr : it->get();
}

RemapStatus SimulatedDisplayDevice::open(const std::string& service, RemapConnection& connection) {
    const auto state = SimulatedDisplayFile::read(file_);
    if (!state) {
        return remap::kFailed;
    }
    if (!state->mode(service)) {
        return remap::kNotFound;
    }
    auto opened = std::make_unique<Connection>();
    opened->display = service;
    opened->path = file_.string();
    opened->temporaryPath = (file_.parent_path() / ("." + file_.filename().string() + ".signal-" +
                                                    std::to_string(::getpid())))
                                .string();
    connection = reinterpret_cast<RemapConnection>(opened.get());
    connections_.push_back(std::move(opened));
    prepareSignalImages(*state);
    return remap::kSuccess;
}

void SimulatedDisplayDevice::close(RemapConnection connection) {
    std::erase_if(connections_, [&](const auto& c) {
        return reinterpret_cast<RemapConnection>(c.get()) == connection;
    });
}

RemapStatus SimulatedDisplayDevice::setMode(RemapConnection handle, std::uint32_t mode) {
    const auto* connection = find(handle);
    if (!connection) {
        return remap::kBadArgument;
    }
    auto state = SimulatedDisplayFile::read(file_);
    if (!state) {
        return remap::kFailed;
    }
    const auto current = state->mode(connection->display);
    if (!current) {
        return remap::kNotFound;
    }
    // Writing the mode a display already has changes nothing; a missing file stays missing.
    if (*current != mode) {
        state->setMode(connection->display, mode);
        if (!state->write(file_)) {
            return remap::kFailed;
        }
    }
    prepareSignalImages(*state);
    return remap::kSuccess;
}

RemapStatus SimulatedDisplayDevice::getMode(RemapConnection handle, std::uint32_t& mode) {
    const auto* connection = find(handle);
    if (!connection) {
        return remap::kBadArgument;
    }
    const auto state = SimulatedDisplayFile::read(file_);
    if (!state) {
        return remap::kFailed;
    }
    const auto current = state->mode(connection->display);
    if (!current) {
        return remap::kNotFound;
    }
    mode = *current;
    return remap::kSuccess;
}

SignalSafeSetMode SimulatedDisplayDevice::signalSafeSetMode() const {
    return &resetFromSignal;
}

std::optional<TransferTable> SimulatedDisplayDevice::readMainDisplayTransfer() {
    TransferTable table;
    table.sampleCount = static_cast<std::uint32_t>(table.red.size());
    for (std::size_t i = 0; i < table.red.size(); ++i) {
        const float value = static_cast<float>(i) / static_cast<float>(table.red.size() - 1);
        table.red[i] = table.green[i] = table.blue[i] = value;
    }
    return table;
}

void SimulatedDisplayDevice::prepareSignalImages(const SimulatedDisplayFile& state) {
    for (auto& connection : connections_) {
        auto reset = state;
        reset.setMode(connection->display, kRemapModeColour);
        connection->publish(reset.serialize());
    }
}

}  // namespace olvane::platform::sim

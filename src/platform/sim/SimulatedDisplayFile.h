#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ColorRemapDevice.h"
#include "platform/Json.h"
#include "platform/Paths.h"
#include "platform/Status.h"

namespace olvane::platform::sim {

// The simulated displays shared by the application and the watchdog:
// {"displays": [{"id": "builtin-0", "external": false, "mode": 0}]}. A missing file means that
// one built-in display in mode 0. Read and written whole; members we do not know are kept.
class SimulatedDisplayFile {
  public:
    static constexpr const char* kFileName = "simulated-display.json";
    static constexpr const char* kDefaultDisplayId = "builtin-0";

    // "<runtime folder>/simulated-display.json".
    static std::filesystem::path defaultPath(const Paths& paths);

    // The default content: one built-in display in mode 0.
    SimulatedDisplayFile();

    // nullopt when the file exists but cannot be read or is not in the format above; such a
    // file is never overwritten.
    static std::optional<SimulatedDisplayFile> read(const std::filesystem::path& path);
    // From text; nullopt when it is not in the format.
    static std::optional<SimulatedDisplayFile> parse(std::string_view text);

    std::vector<std::string> displayIds() const;
    std::optional<ExternalProperty> external(const std::string& id) const;
    std::optional<std::uint32_t> mode(const std::string& id) const;
    // False when there is no display `id`.
    bool setMode(const std::string& id, std::uint32_t mode);
    // Adds a display (for the tests and tools that script displays).
    void addDisplay(const std::string& id, std::optional<bool> external, std::uint32_t mode);

    std::string serialize() const;
    // Atomically, creating the private folder when needed.
    Status write(const std::filesystem::path& path) const;

  private:
    explicit SimulatedDisplayFile(OrderedJson document) : document_(std::move(document)) {}
    const OrderedJson* find(const std::string& id) const;
    OrderedJson* find(const std::string& id);

    OrderedJson document_;
};

}  // namespace olvane::platform::sim

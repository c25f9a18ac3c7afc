#pragma once

#include "platform/FileSystem.h"

namespace olvane::platform::os {

class DiskFileSystem final : public FileSystem {
  public:
    std::optional<std::string> read(
        const std::filesystem::path& path, ComposedText* error = nullptr,
        std::size_t maximumBytes = std::numeric_limits<std::size_t>::max()) const override;
    Status writeInPlace(const std::filesystem::path& path, std::string_view bytes) override;
    Status createAtomically(const std::filesystem::path& path, std::string_view bytes) override;
    Status ensurePrivateFolder(const std::filesystem::path& folder) override;
    bool isFolder(const std::filesystem::path& path) const override;
    bool exists(const std::filesystem::path& path) const override;
    std::optional<Identity> identity(const std::filesystem::path& path) const override;
    long long nowNs() const override;
};

}  // namespace olvane::platform::os

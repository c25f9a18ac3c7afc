#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace olvane::platform::sim {

// Files and folders in memory, stamped with the given clock's time.
class MemoryFileSystem final : public FileSystem {
  public:
    explicit MemoryFileSystem(const Clock& clock) : clock_(clock) {}

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

    struct File {
        std::string content;
        Identity identity;
    };
    // Every file by its full path.
    const std::map<std::string, File, std::less<>>& files() const { return files_; }

  private:
    const Clock& clock_;
    std::map<std::string, File, std::less<>> files_;
    std::set<std::string, std::less<>> folders_{"/"};
    ino_t nextInode_ = 1;
};

}  // namespace olvane::platform::sim

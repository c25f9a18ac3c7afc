#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/FileWatcher.h"

namespace olvane::platform::sim {

// A file watcher whose events the test fires. Watches on missing files fail, as for real.
class SimFileWatcher final : public FileWatcher {
  public:
    SimFileWatcher();

    Handle watchFile(const std::filesystem::path& path, FileEventCallback onEvent) override;
    Handle watchName(const std::filesystem::path& folder, const std::string& name,
                     FileEventCallback onEvent) override;

    // Delivers `events` to every watch on `path` (file watches) or on its name (name watches);
    // `Lost` ends the watches it reaches.
    void fire(const std::filesystem::path& path, FileEvents events);
    bool isWatched(const std::filesystem::path& path) const;
    std::size_t watchCount() const;
    // When set, file watches succeed even for missing files.
    void setRequireExistingFiles(bool require) { requireExisting_ = require; }
    // When set, name watches fail, as when the kernel refuses one more watch.
    void setFailNameWatches(bool fail) { failNameWatches_ = fail; }

  private:
    struct Watch {
        std::uint64_t id;
        std::filesystem::path path;  // the file, or the folder of a name watch
        std::string name;
        std::shared_ptr<FileEventCallback> callback;
    };
    Handle add(Watch watch);

    std::shared_ptr<std::vector<Watch>> watches_;
    std::uint64_t nextId_ = 1;
    bool requireExisting_ = true;
    bool failNameWatches_ = false;
};

}  // namespace olvane::platform::sim

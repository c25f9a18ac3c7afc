#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/FileWatcher.h"
#include "platform/RunLoop.h"

namespace olvane::platform::os {

// FileWatcher on inotify, one descriptor for all watches, read on the run loop.
class InotifyFileWatcher final : public FileWatcher {
  public:
    explicit InotifyFileWatcher(RunLoop& loop);
    ~InotifyFileWatcher() override;
    InotifyFileWatcher(const InotifyFileWatcher&) = delete;
    InotifyFileWatcher& operator=(const InotifyFileWatcher&) = delete;

    bool valid() const { return fd_ >= 0; }

    Handle watchFile(const std::filesystem::path& path, FileEventCallback onEvent) override;
    Handle watchName(const std::filesystem::path& folder, const std::string& name,
                     FileEventCallback onEvent) override;

  private:
    struct Subscription {
        std::uint64_t id;
        std::string name;  // empty for a file watch
        std::shared_ptr<FileEventCallback> callback;
    };
    struct State {
        int fd = -1;
        std::map<int, std::vector<Subscription>> byDescriptor;
        void remove(int wd, std::uint64_t id);
        bool contains(int wd, std::uint64_t id) const;
    };

    Handle subscribe(const std::filesystem::path& path, std::uint32_t mask, std::string name,
                     FileEventCallback onEvent);
    void readEvents();
    void deliver(int wd, std::uint32_t mask, const std::string& name, const Subscription& sub);

    RunLoop& loop_;
    int fd_ = -1;
    std::shared_ptr<State> state_;
    std::uint64_t nextId_ = 1;
    Handle readWatch_;
};

}  // namespace olvane::platform::os

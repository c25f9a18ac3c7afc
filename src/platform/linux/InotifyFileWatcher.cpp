#include "platform/linux/InotifyFileWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace olvane::platform::os {
namespace {

constexpr std::uint32_t kFileMask =
    IN_MODIFY | IN_CLOSE_WRITE | IN_MOVE_SELF | IN_DELETE_SELF | IN_MASK_ADD;
constexpr std::uint32_t kFolderMask = IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_MODIFY |
                                      IN_CLOSE_WRITE | IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF |
                                      IN_MASK_ADD;
// What ends a watch: the kernel dropped it, or (for a folder) the folder is no longer at its path.
constexpr std::uint32_t kWatchEnded = IN_IGNORED | IN_UNMOUNT;
constexpr std::uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF;

FileEvents fileEventsOf(std::uint32_t mask) {
    FileEvents events;
    if (mask & kWatchEnded) {
        events |= FileEvent::Lost;
    }
    if (mask & (IN_MODIFY | IN_CLOSE_WRITE)) {
        events |= FileEvent::Write;
    }
    if (mask & IN_MOVE_SELF) {
        events |= FileEvent::Rename;
    }
    if (mask & IN_DELETE_SELF) {
        events |= FileEvent::Delete;
    }
    return events;
}

FileEvents nameEventsOf(std::uint32_t mask) {
    FileEvents events;
    if (mask & (IN_MODIFY | IN_CLOSE_WRITE)) {
        events |= FileEvent::Write;
    }
    if (mask & IN_CREATE) {
        events |= FileEvent::Create;
    }
    if (mask & IN_MOVED_TO) {
        events |= FileEvent::Create | FileEvent::Rename;
    }
    if (mask & IN_MOVED_FROM) {
        events |= FileEvent::Rename;
    }
    if (mask & IN_DELETE) {
        events |= FileEvent::Delete;
    }
    return events;
}

}  // namespace

bool InotifyFileWatcher::State::contains(int wd, std::uint64_t id) const {
    const auto it = byDescriptor.find(wd);
    return it != byDescriptor.end() &&
           std::any_of(it->second.begin(), it->second.end(),
                       [id](const Subscription& s) { return s.id == id; });
}

void InotifyFileWatcher::State::remove(int wd, std::uint64_t id) {
    auto it = byDescriptor.find(wd);
    if (it == byDescriptor.end()) {
        return;
    }
    std::erase_if(it->second, [id](const Subscription& s) { return s.id == id; });
    if (it->second.empty()) {
        byDescriptor.erase(it);
        if (fd >= 0) {
            ::inotify_rm_watch(fd, wd);
        }
    }
}

InotifyFileWatcher::InotifyFileWatcher(RunLoop& loop)
    : loop_(loop),
      fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
      state_(std::make_shared<State>()) {
    state_->fd = fd_;
    if (fd_ >= 0) {
        readWatch_ = loop_.watchReadable(fd_, [this] { readEvents(); });
    }
}

InotifyFileWatcher::~InotifyFileWatcher() {
    readWatch_.cancel();
    state_->fd = -1;
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

Handle InotifyFileWatcher::watchFile(const std::filesystem::path& path, FileEventCallback onEvent) {
    return subscribe(path, kFileMask, {}, std::move(onEvent));
}

Handle InotifyFileWatcher::watchName(const std::filesystem::path& folder, const std::string& name,
                                     FileEventCallback onEvent) {
    if (name.empty()) {
        return Handle();
    }
    return subscribe(folder, kFolderMask | IN_ONLYDIR, name, std::move(onEvent));
}

Handle InotifyFileWatcher::subscribe(const std::filesystem::path& path, std::uint32_t mask,
                                     std::string name, FileEventCallback onEvent) {
    if (fd_ < 0) {
        return Handle();
    }
    const int wd = ::inotify_add_watch(fd_, path.c_str(), mask);
    if (wd < 0) {
        return Handle();
    }
    const auto id = nextId_++;
    state_->byDescriptor[wd].push_back(
        {id, std::move(name), std::make_shared<FileEventCallback>(std::move(onEvent))});
    return Handle([weak = std::weak_ptr(state_), wd, id] {
        if (auto state = weak.lock()) {
            state->remove(wd, id);
        }
    });
}

void InotifyFileWatcher::deliver(int wd, std::uint32_t mask, const std::string& name,
                                 const Subscription& sub) {
    const bool isNameWatch = !sub.name.empty();
    FileEvents events;
    if (!name.empty()) {
        // About a file in a watched folder.
        if (!isNameWatch || sub.name != name) {
            return;
        }
        events = nameEventsOf(mask);
    } else if (isNameWatch) {
        // About the folder itself: once it is gone from its path, the name no longer lives there.
        if (mask & (kWatchEnded | kFolderGone)) {
            events = FileEvent::Lost;
        }
    } else {
        events = fileEventsOf(mask);
    }
    if (events.empty()) {
        return;
    }
    // Nothing follows a lost watch: it is dropped before its owner hears of it, so that the owner
    // may arm a new one from its callback (and a folder moved elsewhere is no longer followed).
    if (events.has(FileEvent::Lost)) {
        state_->remove(wd, sub.id);
    }
    (*sub.callback)(events);
}

void InotifyFileWatcher::readEvents() {
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) {
            return;
        }
        for (ssize_t offset = 0; offset < n;) {
            inotify_event event;
            std::memcpy(&event, buffer + offset, sizeof event);
            const std::string name =
                event.len > 0 ? std::string(buffer + offset + sizeof event) : "";
            offset += static_cast<ssize_t>(sizeof event + event.len);

            const auto it = state_->byDescriptor.find(event.wd);
            if (it == state_->byDescriptor.end()) {
                continue;
            }
            const auto subscriptions = it->second;
            for (const auto& sub : subscriptions) {
                if (state_->contains(event.wd, sub.id)) {
                    deliver(event.wd, event.mask, name, sub);
                }
            }
            if (event.mask & IN_IGNORED) {
                state_->byDescriptor.erase(event.wd);
            }
        }
    }
}

}  // namespace olvane::platform::os

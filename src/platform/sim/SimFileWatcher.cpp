#include "platform/sim/SimFileWatcher.h"

#include <algorithm>

namespace olvane::platform::sim {

SimFileWatcher::SimFileWatcher() : watches_(std::make_shared<std::vector<Watch>>()) {}

Handle SimFileWatcher::add(Watch watch) {
    const auto id = watch.id;
    watches_->push_back(std::move(watch));
    return Handle([weak = std::weak_ptr(watches_), id] {
        if (auto watches = weak.lock()) {
            std::erase_if(*watches, [id](const Watch& w) { return w.id == id; });
        }
    });
}

Handle SimFileWatcher::watchFile(const std::filesystem::path& path, FileEventCallback onEvent) {
    std::error_code ec;
    if (requireExisting_ && !std::filesystem::exists(path, ec)) {
        return Handle();
    }
    return add({nextId_++, path, {}, std::make_shared<FileEventCallback>(std::move(onEvent))});
}

Handle SimFileWatcher::watchName(const std::filesystem::path& folder, const std::string& name,
                                 FileEventCallback onEvent) {
    if (failNameWatches_) {
        return Handle();
    }
    return add({nextId_++, folder, name, std::make_shared<FileEventCallback>(std::move(onEvent))});
}

void SimFileWatcher::fire(const std::filesystem::path& path, FileEvents events) {
    const auto snapshot = *watches_;
    for (const auto& watch : snapshot) {
        const bool matches =
            watch.name.empty() ? watch.path == path
                               : watch.path == path.parent_path() && watch.name == path.filename();
        const bool alive = std::any_of(watches_->begin(), watches_->end(),
                                       [&](const Watch& w) { return w.id == watch.id; });
        if (!matches || !alive) {
            continue;
        }
        // A lost watch is over before its owner hears of it, as for real.
        if (events.has(FileEvent::Lost)) {
            std::erase_if(*watches_, [&](const Watch& w) { return w.id == watch.id; });
        }
        (*watch.callback)(events);
    }
}

bool SimFileWatcher::isWatched(const std::filesystem::path& path) const {
    return std::any_of(watches_->begin(), watches_->end(), [&](const Watch& w) {
        return w.name.empty() ? w.path == path
                              : w.path == path.parent_path() && w.name == path.filename();
    });
}

std::size_t SimFileWatcher::watchCount() const {
    return watches_->size();
}

}  // namespace olvane::platform::sim

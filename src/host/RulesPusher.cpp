#include "host/RulesPusher.h"

#include "host/OutgoingMessages.h"

namespace olvane::host {

RulesPusher::RulesPusher(platform::RunLoop& loop, platform::FileWatcher& watcher,
                         platform::FileSystem& files, RulesFile& rules, MessageSink& out)
    : loop_(loop), watcher_(watcher), files_(files), rules_(rules), out_(out) {}

void RulesPusher::start() {
    const auto& path = rules_.path();
    [[maybe_unused]] const auto folder = files_.ensurePrivateFolder(path.parent_path());
    if (!files_.exists(path)) {
        [[maybe_unused]] const auto seeded = files_.createAtomically(path, "{}");
    }
    watch();
    lastModificationTime_ = rules_.modificationTime();
}

bool RulesPusher::watch() {
    const auto& path = rules_.path();
    watch_ = watcher_.watchName(path.parent_path(), path.filename().string(),
                                [this](platform::FileEvents events) {
                                    rules_.noteChanged();
                                    scheduleCheck();
                                    if (events.has(platform::FileEvent::Lost)) {
                                        folderLost();
                                    }
                                });
    rules_.setWatched(static_cast<bool>(watch_));
    return static_cast<bool>(watch_);
}

void RulesPusher::folderLost() {
    rules_.setWatched(false);
    folderLook_ = loop_.every(platform::seconds(kFolderLookSeconds), [this] {
        if (files_.isFolder(rules_.path().parent_path()) && watch()) {
            folderLook_.cancel();
            scheduleCheck();  // the file may be back already
        }
    });
}

void RulesPusher::scheduleCheck() {
    pendingCheck_ = loop_.after(platform::seconds(kDebounceSeconds), [this] { checkForChange(); });
}

void RulesPusher::checkForChange() {
    const auto modified = rules_.modificationTime();
    if (modified == lastModificationTime_) {
        return;
    }
    lastModificationTime_ = modified;
    rules_.readAndSend([this, modified](const RulesFile::Contents& contents) {
        out_.sendSerialised("RULES", outgoing::rulesChanged(contents.objectText, modified));
    });
}

}  // namespace olvane::host

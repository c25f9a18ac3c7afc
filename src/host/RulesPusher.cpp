#include "host/RulesPusher.h"

#include "host/OutgoingMessages.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"

namespace olvane::host {

RulesPusher::RulesPusher(platform::RunLoop& loop, platform::FileWatcher& watcher, RulesFile& rules,
                         MessageSink& out)
    : loop_(loop), watcher_(watcher), rules_(rules), out_(out) {}

void RulesPusher::start() {
    const auto& path = rules_.path();
    [[maybe_unused]] const auto folder = platform::ensurePrivateFolder(path.parent_path());
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        [[maybe_unused]] const auto seeded = platform::createFileAtomically(path, "{}");
    }
    watch();
    lastModificationTime_ = rules_.modificationTime();
}

bool RulesPusher::watch() {
    const auto& path = rules_.path();
    watch_ = watcher_.watchName(path.parent_path(), path.filename().string(),
                                [this](platform::FileEvents events) {
                                    scheduleCheck();
                                    if (events.has(platform::FileEvent::Lost)) {
                                        folderLost();
                                    }
                                });
    return static_cast<bool>(watch_);
}

void RulesPusher::folderLost() {
    folderLook_ = loop_.every(platform::seconds(kFolderLookSeconds), [this] {
        std::error_code ec;
        if (std::filesystem::is_directory(rules_.path().parent_path(), ec) && watch()) {
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
    const auto& contents = rules_.read();
    out_.sendSerialised("RULES", outgoing::rulesChanged(contents.objectText, modified));
}

}  // namespace olvane::host

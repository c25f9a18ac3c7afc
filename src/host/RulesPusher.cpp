#include "host/RulesPusher.h"

#include "host/OutgoingMessages.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"

namespace olvane::host {

RulesPusher::RulesPusher(platform::RunLoop& loop, platform::FileWatcher& watcher,
                         const RulesFile& rules, MessageSink& out)
    : loop_(loop), watcher_(watcher), rules_(rules), out_(out) {}

void RulesPusher::start() {
    const auto& path = rules_.path();
    [[maybe_unused]] const auto folder = platform::ensurePrivateFolder(path.parent_path());
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        [[maybe_unused]] const auto seeded = platform::writeFileAtomically(path, "{}");
    }
    watch_ = watcher_.watchName(path.parent_path(), path.filename().string(),
                                [this](platform::FileEvents) { scheduleCheck(); });
    lastModificationTime_ = rules_.modificationTime();
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
    out_.send(outgoing::rulesChanged(rules_.load(), modified));
}

}  // namespace olvane::host

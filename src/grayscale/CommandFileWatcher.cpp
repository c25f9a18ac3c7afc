#include "grayscale/CommandFileWatcher.h"

#include "model/Logger.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"

namespace olvane {

CommandFileWatcher::CommandFileWatcher(platform::RunLoop& loop, platform::FileWatcher& files,
                                       std::filesystem::path file,
                                       CommandFileWatcherMessages messages,
                                       std::function<void()> onEvent)
    : loop_(loop),
      files_(files),
      file_(std::move(file)),
      messages_(messages),
      onEvent_(std::move(onEvent)) {}

bool CommandFileWatcher::start() {
    seedFile();
    watch_ = files_.watchFile(file_, [this](platform::FileEvents events) { handle(events); });
    if (!watch_) {
        if (!messages_.openFailed.empty()) {
            Logger::grayscaleFilter().error(messages_.openFailed);
        }
        return false;
    }
    if (!messages_.started.empty()) {
        Logger::grayscaleFilter().debug(messages_.started);
    }
    return true;
}

void CommandFileWatcher::stop() {
    rearm_ = platform::Handle();
    watch_ = platform::Handle();
}

// Failures are left to the open that follows: a file that is still missing cannot be watched.
void CommandFileWatcher::seedFile() const {
    (void)platform::ensurePrivateFolder(file_.parent_path());
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec)) {
        (void)platform::createFileAtomically(file_, "{}");
    }
}

void CommandFileWatcher::handle(platform::FileEvents events) {
    onEvent_();
    if (!events.has(platform::FileEvent::Rename) && !events.has(platform::FileEvent::Delete)) {
        return;
    }
    // The watch follows the old file, which no writer will touch again.
    if (!messages_.recreating.empty()) {
        Logger::grayscaleFilter().debug(messages_.recreating);
    }
    watch_ = platform::Handle();
    rearm_ = loop_.after(platform::seconds(kRearmDelaySeconds), [this] { start(); });
}

}  // namespace olvane

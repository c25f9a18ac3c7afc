#pragma once

#include <optional>

#include "host/MessageSink.h"
#include "host/RulesFile.h"
#include "platform/FileSystem.h"
#include "platform/FileWatcher.h"
#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::host {

// Sends the rules again, unasked, when the rules file changes. It follows the name in the data
// folder rather than one file, so a rewrite in place, a replacement by rename, a deletion and a
// later re-creation all reach the extension. A burst of events leads to one check, a tenth of
// a second after the last; the check pushes only when the modification time moved. When the data
// folder itself goes, it waits for the folder to come back (it does not make it: an uninstall
// removes it on purpose), then watches again.
class RulesPusher {
  public:
    static constexpr double kDebounceSeconds = 0.1;
    static constexpr double kFolderLookSeconds = 0.5;

    RulesPusher(platform::RunLoop& loop, platform::FileWatcher& watcher,
                platform::FileSystem& files, RulesFile& rules, MessageSink& out);

    // Creates the data folder and a "{}" rules file when they are missing, then watches.
    // Without a watch (folder not creatable) the host runs on and answers requests.
    void start();

  private:
    bool watch();
    void folderLost();
    void scheduleCheck();
    void checkForChange();

    platform::RunLoop& loop_;
    platform::FileWatcher& watcher_;
    platform::FileSystem& files_;
    RulesFile& rules_;
    MessageSink& out_;
    std::optional<long long> lastModificationTime_;
    platform::Handle watch_;
    platform::Handle pendingCheck_;
    platform::Handle folderLook_;
};

}  // namespace olvane::host

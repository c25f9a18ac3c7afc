#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "platform/FileWatcher.h"
#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane {

// What one watcher logs; an empty text is not logged.
struct CommandFileWatcherMessages {
    std::string_view started;     // debug
    std::string_view openFailed;  // error
    std::string_view recreating;  // debug
};

// Keeps one command file watched: creates its folder and a "{}" file when they are missing,
// reports every event on it, and once the file has been renamed or deleted watches whatever
// file bears its name again a moment later (writers may replace it or remove it).
class CommandFileWatcher {
  public:
    static constexpr double kRearmDelaySeconds = 0.2;

    CommandFileWatcher(platform::RunLoop& loop, platform::FileWatcher& files,
                       std::filesystem::path file, CommandFileWatcherMessages messages,
                       std::function<void()> onEvent);
    CommandFileWatcher(const CommandFileWatcher&) = delete;
    CommandFileWatcher& operator=(const CommandFileWatcher&) = delete;

    // False when the file could not be opened for watching; no retry follows.
    bool start();
    // Ends the watch and any re-arm still waiting, so the file is never seeded again.
    void stop();

    bool isWatching() const { return static_cast<bool>(watch_); }
    const std::filesystem::path& file() const { return file_; }

  private:
    void seedFile() const;
    void handle(platform::FileEvents events);

    platform::RunLoop& loop_;
    platform::FileWatcher& files_;
    std::filesystem::path file_;
    CommandFileWatcherMessages messages_;
    std::function<void()> onEvent_;
    platform::Handle watch_;
    platform::Handle rearm_;
};

}  // namespace olvane

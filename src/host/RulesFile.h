#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "host/HostLog.h"
#include "platform/FileSystem.h"
#include "platform/Json.h"

namespace olvane::host {

// The application's "rules.json", forwarded without looking inside: its object is checked and
// kept as compact text, never built. It is read again only when the file changed: while a watch
// reports its changes, until the watch says so (or its status moved); without one, also while
// its times are too fresh to be trusted. Safe from any thread: the reader answers requests while
// the loop notes the watch's reports and pushes the changes.
class RulesFile {
  public:
    struct Contents {
        // Compact JSON text of the file's object; "{}" when the file has none to carry.
        std::string objectText = "{}";
        // Nanoseconds since 1970; nullopt when there is no file.
        std::optional<long long> modificationTimeNs;
        // Changes whenever what was read may have changed.
        unsigned long long generation = 0;
    };

    RulesFile(platform::FileSystem& files, std::filesystem::path path, const HostLog& log);

    const std::filesystem::path& path() const { return path_; }

    // Hands the file's object to `send` under the file's lock: what is sent from it goes out in
    // the order it was read, whichever thread sends, so a reply read before a change never
    // follows the push of that change. "{}" when the file is missing (silently), when it cannot
    // be read, is not JSON, nests deeper than the serialiser can take or is too long for one
    // message (logged), or holds another value.
    template <typename Send>
    void readAndSend(Send&& send) {
        const std::lock_guard lock(mutex_);
        send(readLocked());
    }
    // The modification time in nanoseconds since 1970; nullopt when there is no file.
    std::optional<long long> modificationTime() const;

    // Whether a watch on the file's name reports every change from now on.
    void setWatched(bool watched);
    // A change was reported: what was read is not kept past it.
    void noteChanged();

  private:
    using Identity = platform::FileSystem::Identity;
    const Contents& readLocked();
    void readAgain(const Identity& identity);
    void replace(Contents contents);

    platform::FileSystem& files_;
    std::filesystem::path path_;
    const HostLog& log_;
    std::mutex mutex_;
    Contents contents_;
    // What the kept contents were read from, while it may be trusted.
    std::optional<Identity> readFrom_;
    bool watched_ = false;
};

}  // namespace olvane::host

#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "host/HostLog.h"
#include "platform/Json.h"

namespace olvane::host {

// The application's "rules.json", forwarded without looking inside: its object is checked and
// kept as compact text, never built. It is read again only when the file changed.
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

    RulesFile(std::filesystem::path path, const HostLog& log);

    const std::filesystem::path& path() const { return path_; }

    // The file's object. "{}" when it is missing (silently), when it cannot be read, is not JSON
    // or nests deeper than the serialiser can take (logged), or holds another value.
    const Contents& read();
    // The modification time in nanoseconds since 1970; nullopt when there is no file.
    std::optional<long long> modificationTime() const;

  private:
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long modifiedNs = 0;
        long long changedNs = 0;
        bool operator==(const Identity&) const = default;
    };
    static std::optional<Identity> identityOf(const std::filesystem::path& path);
    void readAgain(const Identity& identity);

    std::filesystem::path path_;
    const HostLog& log_;
    Contents contents_;
    // What the kept contents were read from, while it may be trusted.
    std::optional<Identity> readFrom_;
};

}  // namespace olvane::host

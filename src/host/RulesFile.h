#pragma once

#include <filesystem>
#include <optional>

#include "host/HostLog.h"
#include "platform/Json.h"

namespace olvane::host {

// The application's "rules.json", read whole and forwarded without looking inside.
class RulesFile {
  public:
    RulesFile(std::filesystem::path path, const HostLog& log);

    const std::filesystem::path& path() const { return path_; }

    // The file's object. An empty object when it is missing (silently), when it cannot be read,
    // is not JSON or nests deeper than the serialiser can take (logged), or holds another value.
    Json load() const;
    // The modification time in nanoseconds since 1970; nullopt when there is no file.
    std::optional<long long> modificationTime() const;

  private:
    std::filesystem::path path_;
    const HostLog& log_;
};

}  // namespace olvane::host

#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/Paths.h"

namespace olvane::test {

// A fresh HOME with its XDG folders, set in the process environment for the life of the object
// (child processes started meanwhile inherit it), removed afterwards.
class TempHome {
  public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& root() const { return root_; }
    platform::Paths paths() const { return platform::Paths::fromProcessEnvironment(); }
    // Every variable set, for child processes started with an explicit environment.
    std::map<std::string, std::string> environment() const;

  private:
    std::filesystem::path root_;
    std::map<std::string, std::optional<std::string>> saved_;
};

// The octal permission bits of `path`.
unsigned permissionsOf(const std::filesystem::path& path);

}  // namespace olvane::test

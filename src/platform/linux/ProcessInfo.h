#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace olvane::platform::os {

// What /proc tells of another process of the session.
class ProcessInfo {
  public:
    explicit ProcessInfo(std::filesystem::path procRoot = "/proc") : proc_(std::move(procRoot)) {}

    // When the process started, in Unix seconds.
    std::optional<double> launchDate(pid_t pid) const;
    // The file name of its executable ("firefox-esr"), else its command name.
    std::optional<std::string> executableName(pid_t pid) const;
    // The name it was started under, as the kernel keeps it (15 bytes at most).
    std::optional<std::string> commandName(pid_t pid) const;
    // The application ID of a Flatpak sandbox: its .flatpak-info, else its cgroup's scope name.
    std::optional<std::string> flatpakId(pid_t pid) const;

  private:
    std::filesystem::path folder(pid_t pid) const { return proc_ / std::to_string(pid); }

    std::filesystem::path proc_;
};

}  // namespace olvane::platform::os

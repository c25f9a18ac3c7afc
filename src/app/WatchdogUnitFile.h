#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/Paths.h"

namespace olvane {

// The systemd user unit that runs the watchdog agent. It hands the agent the folders this
// application uses, so that both read the same PID file and display state whatever the user
// manager's own environment holds.
class WatchdogUnitFile {
  public:
    // nullopt when a path cannot be written in a unit file (a line break in it).
    static std::optional<std::string> render(const std::filesystem::path& agentExecutable,
                                             const platform::Paths& paths);
};

// A word of a unit file's command line or assignment, quoted, with systemd's specifiers
// ("%") and, for command lines, variables ("$") escaped.
std::string systemdQuoted(const std::string& word, bool commandLine);

}  // namespace olvane

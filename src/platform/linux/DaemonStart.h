#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Status.h"

namespace olvane::platform::os {

// Starts `command` (its first word the program's path, taken as it is) by a double fork: no
// child of ours (nothing to reap), in a new session, with standard streams on /dev/null and no
// other descriptor; in `workingFolder` when one is given ("/" when it cannot be entered). Fails
// when the program could not be started, with the exec error; the started process in `pid`.
Status startDaemon(const std::vector<std::string>& command,
                   const std::filesystem::path& workingFolder, pid_t& pid);

}  // namespace olvane::platform::os

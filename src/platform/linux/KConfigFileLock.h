#pragma once

#include <chrono>
#include <filesystem>

#include "platform/Handle.h"
#include "platform/Status.h"

namespace olvane::platform::os {

// The lock KDE's programs hold on a configuration file while they read and rewrite it: a file
// beside it, named after it with ".lock", made only where none is, holding the holder's process
// number, its program's name and the host's name, one per line. A lock whose process is gone from
// this host (or whose number now runs another program) is stale and is taken over.
//
// Takes it, waiting up to `wait` for its holder to let it go; the handle removes it. An empty
// handle with `failure` set when it stays held or cannot be made.
Handle lockKConfigFile(const std::filesystem::path& file, std::chrono::milliseconds wait,
                       Status& failure);

// Whether a live program holds the lock on `file` now; a stale one is not held.
bool kconfigFileLockHeld(const std::filesystem::path& file);

}  // namespace olvane::platform::os

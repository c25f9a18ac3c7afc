#pragma once

#include <cstdint>

namespace olvane {

// Where a command file lives: the data folder (written by the native-messaging host) or the
// shared container (written by the Safari extension).
enum class CommandOrigin : std::uint8_t { DataFolder, SharedContainer };

}  // namespace olvane

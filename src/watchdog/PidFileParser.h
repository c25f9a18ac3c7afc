#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string_view>

namespace olvane {

// The process identifier a PID file names: UTF-8 text holding a base-10 signed 32-bit number
// (an optional "+" or "-", then ASCII digits only) between any whitespace and line ends.
// nullopt for anything else, and for zero or below.
std::optional<pid_t> parsePidFileText(std::string_view bytes);

// The longest PID file read: one number, with room for whitespace around it. A longer one names
// nobody, and is not read.
inline constexpr std::size_t kMaxPidFileBytes = 4096;

}  // namespace olvane

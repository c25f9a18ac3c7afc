#pragma once

#include <string_view>

namespace olvane::platform {

// Writes all of `bytes` to `fd`, through interruptions, short writes and a non-blocking
// descriptor that is full. Uses only write and poll, so it may run inside a signal handler.
// False when the descriptor refused the rest (errno tells why).
bool writeAllToDescriptor(int fd, std::string_view bytes);

}  // namespace olvane::platform

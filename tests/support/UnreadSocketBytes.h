#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>

namespace olvane::test {

// The bytes waiting unread in the receive queues of every Unix socket process `pid` holds (its
// X connections, its buses); absent when the kernel would not tell.
std::optional<std::size_t> unreadSocketBytes(pid_t pid);

}  // namespace olvane::test

#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace olvane::host {

// Reads up to `size` bytes into `buffer`, blocking until some arrive: the count, 0 at end of
// input, negative on an error.
using ReadBytes = std::function<std::ptrdiff_t(char* buffer, std::size_t size)>;
// Writes all of `bytes`; failures are ignored (the browser has gone).
using WriteBytes = std::function<void(std::string_view bytes)>;

ReadBytes readFromDescriptor(int fd);
WriteBytes writeToDescriptor(int fd);

}  // namespace olvane::host

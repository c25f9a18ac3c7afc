#include "host/HostLog.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

namespace olvane::host {

HostLog::HostLog()
    : HostLog([](std::string_view line) {
          // One write per line, so lines from the two threads never mix.
          while (!line.empty()) {
              const ssize_t n = ::write(STDERR_FILENO, line.data(), line.size());
              if (n < 0 && errno == EINTR) {
                  continue;
              }
              if (n <= 0) {
                  return;
              }
              line.remove_prefix(static_cast<std::size_t>(n));
          }
      }) {}

HostLog::HostLog(LineSink sink) : sink_(std::move(sink)) {}

void HostLog::error(std::string_view message) const {
    std::string line;
    line.reserve(kPrefix.size() + message.size() + 1);
    line.append(kPrefix).append(message).push_back('\n');
    sink_(line);
}

}  // namespace olvane::host

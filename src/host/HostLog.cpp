#include "host/HostLog.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "platform/Descriptor.h"

namespace olvane::host {

HostLog::HostLog()
    : HostLog([](std::string_view line) {
          // One write per line, so lines from the two threads never mix.
          (void)platform::writeAllToDescriptor(STDERR_FILENO, line);
      }) {}

HostLog::HostLog(LineSink sink) : sink_(std::move(sink)) {}

void HostLog::error(std::string_view message) const {
    std::string line;
    line.reserve(kPrefix.size() + message.size() + 1);
    line.append(kPrefix).append(message).push_back('\n');
    sink_(line);
}

}  // namespace olvane::host

#include "platform/linux/StderrLogSink.h"

#include <string>

namespace olvane::platform::os {

void StderrLogSink::write(const LogEntry& entry) {
    std::string line(entry.category());
    line += ": ";
    line += entry.redactedText();
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stream_);
    std::fflush(stream_);
}

}  // namespace olvane::platform::os

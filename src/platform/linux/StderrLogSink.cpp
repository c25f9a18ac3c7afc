#include "platform/linux/StderrLogSink.h"

#include <string>

namespace olvane::platform::os {

void StderrLogSink::write(const LogEntry& entry) {
    // The default log has no category: its lines are the text alone.
    std::string line(entry.category());
    if (!line.empty()) {
        line += ": ";
    }
    line += entry.redactedText();
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stream_);
    std::fflush(stream_);
}

}  // namespace olvane::platform::os

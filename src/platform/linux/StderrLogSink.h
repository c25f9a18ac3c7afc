#pragma once

#include <cstdio>

#include "platform/LogSink.h"

namespace olvane::platform::os {

// "<category>: <text>", one line per entry at info level and above, private values redacted.
class StderrLogSink final : public LogSink {
  public:
    explicit StderrLogSink(std::FILE* stream = stderr) : stream_(stream) {}
    LogLevel minimumLevel() const override { return LogLevel::Info; }
    void write(const LogEntry& entry) override;

  private:
    std::FILE* stream_;
};

}  // namespace olvane::platform::os

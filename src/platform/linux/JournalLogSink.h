#pragma once

#include <memory>
#include <string>

#include "platform/LogSink.h"

namespace olvane::platform::os {

// The systemd journal, every level with its priority, private values redacted.
class JournalLogSink final : public LogSink {
  public:
    // nullptr when no journal runs on this machine (or support was not built in).
    static std::shared_ptr<JournalLogSink> createIfAvailable(std::string identifier);

    explicit JournalLogSink(std::string identifier) : identifier_(std::move(identifier)) {}
    LogLevel minimumLevel() const override { return LogLevel::Debug; }
    void write(const LogEntry& entry) override;

  private:
    std::string identifier_;
};

}  // namespace olvane::platform::os

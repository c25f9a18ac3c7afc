#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/LogSink.h"

namespace olvane::platform {

// The process's log destinations. Logging is the one process-wide service: loggers are
// reachable from anywhere, so the sinks they write to are gathered here.
class LogRouter {
  public:
    static LogRouter& instance();

    void addSink(std::shared_ptr<LogSink> sink);
    void removeSink(const std::shared_ptr<LogSink>& sink);
    void removeAllSinks();

    // Cheap check made before any formatting.
    bool isEnabled(LogLevel level) const {
        return static_cast<int>(level) >= minimumLevel_.load(std::memory_order_relaxed);
    }
    void write(const LogEntry& entry);

  private:
    void recomputeMinimum();

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<LogSink>> sinks_;
    std::atomic<int> minimumLevel_{static_cast<int>(LogLevel::Fault) + 1};
};

}  // namespace olvane::platform

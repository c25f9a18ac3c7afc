#include "platform/LogRouter.h"

#include <algorithm>

namespace olvane::platform {

LogRouter& LogRouter::instance() {
    static LogRouter router;
    return router;
}

void LogRouter::addSink(std::shared_ptr<LogSink> sink) {
    std::lock_guard lock(mutex_);
    sinks_.push_back(std::move(sink));
    recomputeMinimum();
}

void LogRouter::removeSink(const std::shared_ptr<LogSink>& sink) {
    std::lock_guard lock(mutex_);
    std::erase(sinks_, sink);
    recomputeMinimum();
}

void LogRouter::removeAllSinks() {
    std::lock_guard lock(mutex_);
    sinks_.clear();
    recomputeMinimum();
}

void LogRouter::recomputeMinimum() {
    int minimum = static_cast<int>(LogLevel::Fault) + 1;
    for (const auto& sink : sinks_) {
        minimum = std::min(minimum, static_cast<int>(sink->minimumLevel()));
    }
    minimumLevel_ = minimum;
}

void LogRouter::write(const LogEntry& entry) {
    std::lock_guard lock(mutex_);
    for (const auto& sink : sinks_) {
        if (entry.level() >= sink->minimumLevel()) {
            sink->write(entry);
        }
    }
}

}  // namespace olvane::platform

#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/LogSink.h"

namespace olvane::platform::sim {

struct CapturedLine {
    std::string subsystem;
    std::string category;
    LogLevel level;
    std::string text;      // private values included
    std::string redacted;  // as a persistent sink keeps it
};

// Keeps every line, every level, for tests to read.
class CaptureLogSink final : public LogSink {
  public:
    LogLevel minimumLevel() const override { return LogLevel::Debug; }
    void write(const LogEntry& entry) override;

    std::vector<CapturedLine> lines() const;
    // The texts of one category, in order.
    std::vector<std::string> texts(const std::string& category) const;
    bool contains(const std::string& text) const;
    bool contains(const std::string& category, LogLevel level, const std::string& text) const;
    std::size_t count(const std::string& text) const;
    void clear();

  private:
    mutable std::mutex mutex_;
    std::vector<CapturedLine> lines_;
};

// Routes the process's log lines into a capture for the life of the object.
class ScopedLogCapture {
  public:
    ScopedLogCapture();
    ~ScopedLogCapture();
    ScopedLogCapture(const ScopedLogCapture&) = delete;
    ScopedLogCapture& operator=(const ScopedLogCapture&) = delete;

    CaptureLogSink& sink() { return *sink_; }
    CaptureLogSink* operator->() { return sink_.get(); }

  private:
    std::shared_ptr<CaptureLogSink> sink_;
};

}  // namespace olvane::platform::sim

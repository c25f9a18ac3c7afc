#include "platform/sim/CaptureLogSink.h"

#include <algorithm>

#include "platform/LogRouter.h"

namespace olvane::platform::sim {

void CaptureLogSink::write(const LogEntry& entry) {
    std::lock_guard lock(mutex_);
    lines_.push_back({std::string(entry.subsystem()), std::string(entry.category()), entry.level(),
                      entry.fullText(), entry.redactedText()});
}

std::vector<CapturedLine> CaptureLogSink::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::vector<std::string> CaptureLogSink::texts(const std::string& category) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& line : lines_) {
        if (line.category == category) {
            out.push_back(line.text);
        }
    }
    return out;
}

bool CaptureLogSink::contains(const std::string& text) const {
    return count(text) > 0;
}

bool CaptureLogSink::contains(const std::string& category, LogLevel level,
                              const std::string& text) const {
    std::lock_guard lock(mutex_);
    return std::any_of(lines_.begin(), lines_.end(), [&](const CapturedLine& line) {
        return line.category == category && line.level == level && line.text == text;
    });
}

std::size_t CaptureLogSink::count(const std::string& text) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(
        lines_.begin(), lines_.end(), [&](const CapturedLine& line) { return line.text == text; }));
}

void CaptureLogSink::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

ScopedLogCapture::ScopedLogCapture() : sink_(std::make_shared<CaptureLogSink>()) {
    LogRouter::instance().addSink(sink_);
}

ScopedLogCapture::~ScopedLogCapture() {
    LogRouter::instance().removeSink(sink_);
}

}  // namespace olvane::platform::sim

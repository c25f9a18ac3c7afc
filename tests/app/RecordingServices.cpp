#include "RecordingServices.h"

#include <mutex>

namespace olvane::test {
namespace {

class TimelineSink final : public platform::LogSink {
  public:
    TimelineSink(Timeline& timeline, std::set<std::string> categories, platform::LogLevel minimum)
        : timeline_(timeline), categories_(std::move(categories)), minimum_(minimum) {}

    platform::LogLevel minimumLevel() const override { return minimum_; }
    void write(const platform::LogEntry& entry) override {
        const std::string category(entry.category());
        if (entry.level() >= minimum_ && categories_.contains(category)) {
            std::lock_guard lock(mutex_);
            timeline_.add(category + ": " + entry.fullText());
        }
    }

  private:
    std::mutex mutex_;
    Timeline& timeline_;
    std::set<std::string> categories_;
    platform::LogLevel minimum_;
};

}  // namespace

TimelineLog::TimelineLog(Timeline& timeline, std::set<std::string> categories,
                         platform::LogLevel minimum)
    : sink_(std::make_shared<TimelineSink>(timeline, std::move(categories), minimum)) {
    platform::LogRouter::instance().addSink(sink_);
}

TimelineLog::~TimelineLog() {
    platform::LogRouter::instance().removeSink(sink_);
}

}  // namespace olvane::test

#include "platform/sim/RecordingDetachedProcesses.h"

namespace olvane::platform::sim {

Status RecordingDetachedProcesses::start(const std::filesystem::path& program,
                                         const std::vector<std::string>& arguments, pid_t& pid) {
    if (!failure_.empty()) {
        return Status::failure(ComposedText(failure_));
    }
    pid = next_++;
    started_.push_back({program, arguments, pid});
    if (!pollingReason_.empty()) {
        pollingReasons_[pid] = pollingReason_;
    }
    running_.insert(pid);
    return Status::success();
}

void RecordingDetachedProcesses::stop(pid_t pid) {
    if (running_.erase(pid) > 0) {
        stopped_.push_back(pid);
    }
    endWatches_->erase(pid);
}

Handle RecordingDetachedProcesses::watchEnd(pid_t pid, Task onEnd) {
    if (!running_.contains(pid)) {
        return Handle();
    }
    (*endWatches_)[pid] = std::move(onEnd);
    return Handle([watches = std::weak_ptr(endWatches_), pid] {
        if (const auto live = watches.lock()) {
            live->erase(pid);
        }
    });
}

std::optional<ComposedText> RecordingDetachedProcesses::endPollingReason(pid_t pid) const {
    const auto found = pollingReasons_.find(pid);
    return found == pollingReasons_.end() ? std::nullopt
                                          : std::optional(ComposedText(found->second));
}

void RecordingDetachedProcesses::end(pid_t pid) {
    running_.erase(pid);
    if (const auto found = endWatches_->find(pid); found != endWatches_->end()) {
        auto onEnd = std::move(found->second);
        endWatches_->erase(found);
        onEnd();
    }
}

}  // namespace olvane::platform::sim

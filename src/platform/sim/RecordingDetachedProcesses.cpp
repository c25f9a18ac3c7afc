#include "platform/sim/RecordingDetachedProcesses.h"

namespace olvane::platform::sim {

Status RecordingDetachedProcesses::start(const std::filesystem::path& program,
                                         const std::vector<std::string>& arguments, pid_t& pid) {
    if (!failure_.empty()) {
        return Status::failure(ComposedText(failure_));
    }
    pid = next_++;
    started_.push_back({program, arguments, pid});
    running_.insert(pid);
    return Status::success();
}

void RecordingDetachedProcesses::stop(pid_t pid) {
    if (running_.erase(pid) > 0) {
        stopped_.push_back(pid);
    }
}

}  // namespace olvane::platform::sim

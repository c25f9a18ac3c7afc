#include "platform/sim/MemoryLoginItems.h"

namespace olvane::platform::sim {

Status MemoryLoginItems::registerApplication() {
    ++registerCount_;
    if (!failure_.empty()) {
        return Status::failure(ComposedText(failure_));
    }
    status_ = ServiceStatus::Enabled;
    return Status::success();
}

Status MemoryLoginItems::unregisterApplication() {
    ++unregisterCount_;
    if (!failure_.empty()) {
        return Status::failure(ComposedText(failure_));
    }
    status_ = ServiceStatus::NotRegistered;
    return Status::success();
}

LoginItems::Removal MemoryLoginItems::removeEveryEntry() {
    if (!failure_.empty()) {
        return {.removed = {}, .failures = {Status::failure(ComposedText(failure_))}};
    }
    status_ = ServiceStatus::NotRegistered;
    return {};
}

}  // namespace olvane::platform::sim

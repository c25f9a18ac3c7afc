#include "platform/sim/SimSafariExtensionManager.h"

#include <utility>

namespace olvane::platform::sim {

void SimSafariExtensionManager::getStateOfSafariExtension(const std::string&,
                                                          Completion completion) {
    ++queries_;
    if (holding_) {
        held_.push_back(std::move(completion));
        return;
    }
    completion(state_, error_);
}

void SimSafariExtensionManager::releaseAnswers() {
    holding_ = false;
    for (auto& completion : std::exchange(held_, {})) {
        completion(state_, error_);
    }
}

}  // namespace olvane::platform::sim

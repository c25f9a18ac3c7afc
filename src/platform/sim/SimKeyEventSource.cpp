#include "platform/sim/SimKeyEventSource.h"

namespace olvane::platform::sim {

Handle SimKeyEventSource::addGlobalKeyDownMonitor(KeyObserver observer) {
    if (refuseGlobal_) {
        return {};
    }
    return global_.connect(std::move(observer));
}

Handle SimKeyEventSource::addLocalKeyDownMonitor(KeyObserver observer) {
    if (refuseLocal_) {
        return {};
    }
    return local_.connect(std::move(observer));
}

}  // namespace olvane::platform::sim

#include "platform/NotificationCenter.h"

namespace olvane::platform {

Handle NotificationCenter::observe(const std::string& name, Observer observer) {
    return signals_[name].connect(std::move(observer));
}

void NotificationCenter::post(const std::string& name, const Json& userInfo) {
    const auto it = signals_.find(name);
    if (it != signals_.end()) {
        it->second.emit(userInfo);
    }
}

}  // namespace olvane::platform

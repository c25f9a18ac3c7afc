#include "platform/sim/MemoryServiceManager.h"

namespace olvane::platform::sim {

Status MemoryServiceManager::record(const std::string& verb, const std::string& unit) {
    calls_.push_back(unit.empty() ? verb : verb + " " + unit);
    if (!running_) {
        return Status::failure("Aucun gestionnaire de services");
    }
    if (const auto it = failures_.find(verb); it != failures_.end()) {
        return Status::failure(ComposedText(it->second));
    }
    return Status::success();
}

Status MemoryServiceManager::reload() {
    return record("reload", {});
}

Status MemoryServiceManager::enable(const std::string& unit) {
    auto status = record("enable", unit);
    if (status) {
        enabled_.insert(unit);
    }
    return status;
}

Status MemoryServiceManager::disableAndStop(const std::string& unit) {
    auto status = record("disable", unit);
    if (status) {
        enabled_.erase(unit);
        active_.erase(unit);
    }
    return status;
}

Status MemoryServiceManager::restart(const std::string& unit) {
    auto status = record("restart", unit);
    if (status) {
        active_.insert(unit);
    }
    return status;
}

void MemoryServiceManager::setEnabled(const std::string& unit, bool enabled) {
    enabled ? void(enabled_.insert(unit)) : void(enabled_.erase(unit));
}

void MemoryServiceManager::setActive(const std::string& unit, bool active) {
    active ? void(active_.insert(unit)) : void(active_.erase(unit));
}

void MemoryServiceManager::failVerb(const std::string& verb, std::string description) {
    failures_[verb] = std::move(description);
}

}  // namespace olvane::platform::sim

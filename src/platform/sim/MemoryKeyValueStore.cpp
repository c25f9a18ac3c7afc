#include "platform/sim/MemoryKeyValueStore.h"

namespace olvane::platform::sim {

StoredValue MemoryKeyValueStore::get(std::string_view key) const {
    const auto it = values_.find(key);
    return it == values_.end() ? StoredValue::missing() : it->second;
}

Status MemoryKeyValueStore::set(std::string_view key, std::string_view bytes) {
    if (!writeFailure_.empty()) {
        return Status::failure(ComposedText(writeFailure_));
    }
    ++writeCount_;
    values_.insert_or_assign(std::string(key), StoredValue::present(std::string(bytes)));
    return Status::success();
}

Status MemoryKeyValueStore::remove(std::string_view key) {
    if (!writeFailure_.empty()) {
        return Status::failure(ComposedText(writeFailure_));
    }
    if (const auto it = values_.find(key); it != values_.end()) {
        values_.erase(it);
    }
    return Status::success();
}

Status MemoryKeyValueStore::keepAside(std::string_view key, ComposedText& where) {
    if (!writeFailure_.empty()) {
        return Status::failure(ComposedText(writeFailure_));
    }
    if (const auto it = values_.find(key); it != values_.end()) {
        keptAside_.push_back(it->second);
        where = ComposedText("mémoire n° " + std::to_string(keptAside_.size()));
    }
    return Status::success();
}

Status MemoryKeyValueStore::removeDomain() {
    values_.clear();
    return Status::success();
}

void MemoryKeyValueStore::setUndecodable(std::string_view key) {
    values_.insert_or_assign(std::string(key), StoredValue::undecodable());
}

}  // namespace olvane::platform::sim

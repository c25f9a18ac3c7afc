#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/KeyValueStore.h"

namespace olvane::platform::sim {

class MemoryKeyValueStore final : public KeyValueStore {
  public:
    StoredValue get(std::string_view key) const override;
    Status set(std::string_view key, std::string_view bytes) override;
    Status remove(std::string_view key) override;
    Status keepAside(std::string_view key, ComposedText& where) override;
    Status removeDomain() override;

    // A value that exists but is not binary data, as a hand-edited store may hold.
    void setUndecodable(std::string_view key);
    // Makes every later write fail with `description` (empty: writes succeed again).
    void failWrites(std::string description) { writeFailure_ = std::move(description); }
    std::size_t writeCount() const { return writeCount_; }
    // What keepAside kept, oldest first.
    const std::vector<StoredValue>& keptAside() const { return keptAside_; }

  private:
    std::map<std::string, StoredValue, std::less<>> values_;
    std::vector<StoredValue> keptAside_;
    std::string writeFailure_;
    std::size_t writeCount_ = 0;
};

}  // namespace olvane::platform::sim

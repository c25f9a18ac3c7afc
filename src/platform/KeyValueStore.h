#pragma once

#include <string>
#include <string_view>

#include "platform/Status.h"

namespace olvane::platform {

// What a key holds: nothing, bytes, or something that is there but cannot be read as bytes.
struct StoredValue {
    enum class State { Missing, Present, Undecodable };
    State state = State::Missing;
    std::string bytes;

    static StoredValue missing() { return {}; }
    static StoredValue present(std::string bytes) { return {State::Present, std::move(bytes)}; }
    static StoredValue undecodable() { return {State::Undecodable, {}}; }
    bool isPresent() const { return state == State::Present; }
    bool isMissing() const { return state == State::Missing; }
};

// The user defaults of the application: binary values by key in one domain.
class KeyValueStore {
  public:
    virtual ~KeyValueStore() = default;
    virtual StoredValue get(std::string_view key) const = 0;
    virtual Status set(std::string_view key, std::string_view bytes) = 0;
    virtual Status remove(std::string_view key) = 0;
    // Copies what `key` holds, as it is, to a place of its own that nothing ever overwrites, for
    // the user to recover; `where` says where. A key with nothing stored has nothing to keep.
    virtual Status keepAside(std::string_view key, ComposedText& where) = 0;
    // Forgets every key of the domain, and its file if it has one.
    virtual Status removeDomain() = 0;
};

}  // namespace olvane::platform
